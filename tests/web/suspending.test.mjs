// The functions Asyncify instruments, read off the call graph of the module the build linked: the project's list
// of calls through a pointer fits it, and a line gone stale or missing stops the build.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {test} from 'node:test';

import {readModule, readPointerCalls, suspendingFunctions, waitingImports} from
  '../../tools/suspending_functions.mjs';

const source = process.env.TESSARIN_SOURCE;
const graph = process.env.TESSARIN_CALL_GRAPH;
const module = readModule(readFileSync(`${graph}.wat`, 'utf8'));
const waiting = waitingImports(readFileSync(`${graph}.js`, 'utf8'), module);
const named = readFileSync(join(source, 'src/program/web/pointer-calls.txt'), 'utf8');
const derive = (text) => suspendingFunctions(module, waiting, readPointerCalls(text));

test('the list holds the event loop, the questions and the failure report, and leaves the drawing alone', () => {
  const {names, problems} = derive(named);
  assert.deepEqual(problems, []);
  for (const name of ['main', 'toolkit::web::FormWindow::Run()', '(anonymous namespace)::AnsweredYes(char const*)',
                      'Game::Form_Unload(short&)', 'toolkit::FrontEnd::Fail(']) {
    assert.ok(names.some((listed) => listed.startsWith(name)), name);
  }
  assert.ok(names.some((name) => name.startsWith('toolkit::web::WebPlatform::MsgBox(')));
  assert.ok(names.some((name) => name.startsWith('(anonymous namespace)::ShowFailure(')));
  // A std::function of another signature calls no handler: the compositor it feeds never waits.
  assert.ok(!names.some((name) => name.startsWith('toolkit::Frame::Compose(')));
});

test('a pointer call gone stale or missing is named with its line', () => {
  const cases = [
    ['a caller inlined away', `${named}toolkit::web::page::Ask(*) -> toolkit::web::WebPlatform::MsgBox(*)\n`,
     /^line \d+ \(toolkit::web::page::Ask\(\*\) -> .*\): no such caller calls through a pointer$/],
    ['a callee that is never called through a pointer', `${named}toolkit::MsgBox(*) -> Game::NoSuchHandler()\n`,
     /: no such callee is called through a pointer$/],
    ['a callee that does not wait', `${named}toolkit::MsgBox(*) -> toolkit::DefaultPlatform::MsgBox(*)\n`,
     /: the callee no longer waits$/],
    ['a caller calling no pointer of the signature', `${named}RunProgram() -> toolkit::web::WebPlatform::MsgBox(*)\n`,
     /: no such caller calls through a pointer of the callee's signature$/],
    ['the virtual Run unnamed', named.replace(/^RunProgram\(\) -> .*$/m, ''),
     /^toolkit::web::FormWindow::Run\(\) waits and is called through a pointer, by a call no line names$/],
  ];
  for (const [what, text, expected] of cases) {
    const {problems} = derive(text);
    assert.equal(problems.length, 1, `${what}: ${problems}`);
    assert.match(problems[0], expected, what);
  }
});

test('the build stops on a stale line, saying where', (t) => {
  const folder = mkdtempSync(join(tmpdir(), 'tessarin-calls-'));
  t.after(() => rmSync(folder, {recursive: true}));
  const calls = join(folder, 'pointer-calls.txt');
  writeFileSync(calls, `${named}toolkit::web::page::NextEvent() -> toolkit::web::FormWindow::Run()\n`);
  const run = () => execFileSync(process.execPath, [join(source, 'tools/suspending_functions.mjs'), `${graph}.wat`,
                                                    `${graph}.js`, calls, join(folder, 'list.txt')], {stdio: 'pipe'});
  const line = named.split('\n').length;
  assert.throws(run, (error) => error.status === 1 &&
                String(error.stderr).startsWith(`${calls}: line ${line} (toolkit::web::page::NextEvent`));
});
