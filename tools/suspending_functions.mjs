// The functions Asyncify instruments in the web module: those that can be on the stack while the module waits for
// the page (a question, the next event). Binaryen finds them itself only by counting every call through a pointer,
// and every call through emscripten's exception wrappers (invoke_*), as one that may wait, which instruments a third
// of the module. Here they are read off the linked module's call graph instead, upward from the imports that wait:
// direct calls; invoke_* calls, whose first argument, when a constant, names the callee by its place in the table;
// and the calls through a pointer that the project names (pointer-calls.txt), since no module says where a virtual
// call or a std::function lands. A named call that no longer exists or no longer waits, and a function that waits,
// sits in the table and is named as no call's callee, are errors: the list then needs a maintainer. What cannot be
// told from the module, and so passes: a new call through a pointer to a callee a line already names, and a function
// called directly under a try (through invoke_*) that is also stored as a pointer and called through it elsewhere.
//   node tools/suspending_functions.mjs MODULE.wat GLUE.js POINTER_CALLS.txt OUTPUT.txt
// MODULE.wat is the module as wasm-dis prints it, with its function names, linked as the page's module is but with
// nothing instrumented; GLUE.js is the JavaScript emscripten wrote beside it.
import {readFileSync, writeFileSync} from 'node:fs';
import {fileURLToPath} from 'node:url';

// Binaryen prints a name's bytes outside its identifier characters as \XX.
const unescape = (name) =>
  Buffer.from(name.replace(/\\([0-9a-fA-F]{2})/g, (_, hex) => String.fromCharCode(parseInt(hex, 16))), 'latin1')
    .toString('utf8');

// "(param $0 i32) (param $1 f64) (result i32)" or "(param i32 f64) (result i32)" as "i32 f64 -> i32".
function signatureOf(text) {
  const types = (kind) => [...text.matchAll(new RegExp(`\\(${kind}((?: [^()]+)*)\\)`, 'g'))]
    .flatMap((group) => group[1].trim().split(/\s+/).filter((word) => word && !word.startsWith('$')));
  return `${types('param').join(' ')} -> ${types('result').join(' ')}`;
}

// The letters of an invoke_* wrapper name the callee's signature: its result, then its parameters after the pointer.
const invokeName = /^(?:legalfunc\$|legalimport\$)?invoke_(\w+)$/;

// Imports, the table and each function's calls: direct, through invoke_* (a constant pointer resolved, any other
// counted as a call through a pointer of the wrapper's signature) and call_indirect.
export function readModule(text) {
  const module = {types: new Map(), imports: new Map(), table: [], functions: new Map()};
  const lines = text.split('\n');
  let current = null;
  for (let at = 0; at < lines.length; ++at) {
    const line = lines[at];
    let found;
    if (/^ \(/.test(line)) current = null;
    if ((found = /^ \(type \$(\S+) \(func(.*)\)\)$/.exec(line))) {
      module.types.set(found[1], signatureOf(found[2]));
    } else if ((found = /^ \(import "([^"]*)" "([^"]*)" \(func \$(\S+)(.*)\)\)$/.exec(line))) {
      module.imports.set(unescape(found[3]), {field: found[2], signature: signatureOf(found[4])});
    } else if ((found = /^ \(elem (?:\$\S+ )?\(i32\.const (\d+)\)((?: \$\S+)*)\)$/.exec(line))) {
      const first = Number(found[1]);
      found[2].trim().split(' ').forEach((name, index) => { module.table[first + index] = unescape(name.slice(1)); });
    } else if ((found = /^ \(func \$(\S+)(.*)$/.exec(line))) {
      current = {signature: signatureOf(found[2]), calls: new Set(), invokes: [], pointerCalls: []};
      module.functions.set(unescape(found[1]), current);
    } else if (current && (found = /\(call \$(\S+)$/.exec(line))) {
      const callee = unescape(found[1]);
      const invoke = invokeName.exec(callee);
      if (!invoke) {
        current.calls.add(callee);
        continue;
      }
      const pointer = /^\s*\(i32\.const (\d+)\)$/.exec(lines[at + 1]);
      if (pointer) current.invokes.push({letters: invoke[1], target: Number(pointer[1])});
      else current.pointerCalls.push({letters: invoke[1]});
    } else if (current && (found = /\(call_indirect (?:\$\S+ )?\(type \$(\S+)\)/.exec(line))) {
      current.pointerCalls.push({signature: module.types.get(found[1])});
    }
  }
  for (const {invokes} of module.functions.values()) {
    for (const invoke of invokes) invoke.target = module.table[invoke.target];
  }
  return module;
}

// The imports that wait: those whose JavaScript hands the module's stack to Asyncify, found by the minified import
// name the glue gives them.
export function waitingImports(glue, module) {
  const table = /var asmLibraryArg=\{([^}]*)\}/.exec(glue);
  if (!table) throw new Error("the glue has no import table (asmLibraryArg): has emscripten's output changed?");
  const waiting = new Set();
  for (const [, field, name] of table[1].matchAll(/"([^"]+)":(\w+)/g)) {
    const hands = new RegExp(`function ${name}\\([^)]*\\)\\{(?:return )?Asyncify\\.handle(?:Async|Sleep)\\(`);
    if (!hands.test(glue)) continue;
    for (const [imported, {field: importField}] of module.imports) if (importField === field) waiting.add(imported);
  }
  if (!waiting.size) throw new Error('no import of the module waits for the page');
  return waiting;
}

const escape = (text) => text.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');

// A name with * for any run of characters, as in Binaryen's own lists, and {part}s: any run of characters in a
// caller, and in its callee the same run again (`groups`, the caller's), or any run where no caller is given.
function pattern(name, groups) {
  const source = name.split(/(\*|\{\w+\})/).map((piece) => {
    if (piece === '*') return '.*';
    const part = /^\{(\w+)\}$/.exec(piece)?.[1];
    if (!part) return escape(piece);
    if (groups === null) return `(?<${part}>.*)`;
    return groups?.[part] === undefined ? '.*' : escape(groups[part]);
  });
  return new RegExp(`^${source.join('')}$`);
}

// "caller -> callee" a line: where the caller calls through a pointer, it may land on the callee.
export function readPointerCalls(text) {
  return text.split('\n').flatMap((line, index) => {
    const content = line.replace(/#.*/, '').trim();
    if (!content) return [];
    const sides = content.split(' -> ').map((side) => side.trim());
    if (sides.length !== 2 || !sides[0] || !sides[1]) throw new Error(`line ${index + 1}: expected 'caller -> callee'`);
    const caller = pattern(sides[0], null);
    return [{line: index + 1, text: content, caller, callee: pattern(sides[1]),
             calleeOf: (name) => pattern(sides[1], caller.exec(name)?.groups ?? {})}];
  });
}

// The signature a call through a pointer expects: call_indirect's type, or the invoke_* wrapper's letters (the
// result first, then the parameters after the pointer).
function expected(call, module) {
  if (call.signature) return call.signature;
  const wrapper = [...module.imports].find(([name]) => invokeName.exec(name)?.[1] === call.letters);
  if (!wrapper) return null;
  const [params, result] = wrapper[1].signature.split(' -> ');
  return `${params.split(' ').slice(1).join(' ')} -> ${result}`;
}

// The names to instrument, sorted, and the problems that make the list untrustworthy.
export function suspendingFunctions(module, waiting, pointerCalls) {
  const inTable = new Set(module.table.filter(Boolean));
  const waits = new Set(waiting);
  const dynCalls = (letters) => [`dynCall_${letters}`, `legalstub$dynCall_${letters}`];
  const used = new Set();
  // A call through a pointer that a named call covers and that can land on a function that waits.
  const coveredCall = (name, fn) => {
    for (const call of fn.pointerCalls) {
      for (const named of pointerCalls) {
        if (!named.caller.test(name)) continue;
        const callee = named.calleeOf(name);
        const lands = [...inTable].some((target) => waits.has(target) && callee.test(target) &&
                                                    module.functions.get(target).signature === expected(call, module));
        if (lands) {
          used.add(named);
          return call;
        }
      }
    }
    return null;
  };
  for (let grew = true; grew;) {
    grew = false;
    const add = (name) => {
      if (module.functions.has(name) && !waits.has(name)) {
        waits.add(name);
        grew = true;
      }
    };
    for (const [name, fn] of module.functions) {
      const invoked = fn.invokes.filter((invoke) => waits.has(invoke.target));
      invoked.forEach((invoke) => dynCalls(invoke.letters).forEach(add));
      const call = coveredCall(name, fn);
      if (call?.letters) dynCalls(call.letters).forEach(add);
      if (invoked.length || call || [...fn.calls].some((callee) => waits.has(callee))) add(name);
    }
  }
  return {names: [...waits].filter((name) => module.functions.has(name)).sort(),
          problems: problemsOf(module, waits, pointerCalls, used, inTable)};
}

function problemsOf(module, waits, pointerCalls, used, inTable) {
  const problems = [];
  for (const named of pointerCalls) {
    const callers = [...module.functions].filter(([name, fn]) => named.caller.test(name) && fn.pointerCalls.length);
    const callees = [...inTable].filter((name) => named.callee.test(name));
    const says = (what) => problems.push(`line ${named.line} (${named.text}): ${what}`);
    if (!callers.length) says('no such caller calls through a pointer');
    else if (!callees.length) says('no such callee is called through a pointer');
    else if (!callees.some((name) => waits.has(name))) says('the callee no longer waits');
    else if (!used.has(named)) says("no such caller calls through a pointer of the callee's signature");
  }
  // A function in the table that invoke_* calls by its constant place is reached through dynCall_*, which the list
  // covers; one that code also calls through a pointer elsewhere would pass unnoticed, so such a call stays named.
  const invoked = new Set([...module.functions.values()].flatMap((fn) => fn.invokes.map((invoke) => invoke.target)));
  for (const name of inTable) {
    if (!waits.has(name) || invoked.has(name) || pointerCalls.some((named) => named.callee.test(name))) continue;
    problems.push(`${name} waits and is called through a pointer, by a call no line names`);
  }
  return problems;
}

function main([moduleFile, glueFile, pointerCallsFile, output]) {
  const module = readModule(readFileSync(moduleFile, 'utf8'));
  const waiting = waitingImports(readFileSync(glueFile, 'utf8'), module);
  const pointerCalls = readPointerCalls(readFileSync(pointerCallsFile, 'utf8'));
  const {names, problems} = suspendingFunctions(module, waiting, pointerCalls);
  if (problems.length) {
    console.error(problems.map((problem) => `${pointerCallsFile}: ${problem}`).join('\n'));
    process.exit(1);
  }
  writeFileSync(output, names.join('\n') + '\n');
}

if (process.argv[1] === fileURLToPath(import.meta.url)) main(process.argv.slice(2));
