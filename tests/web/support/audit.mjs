// An axe-core audit of the page as it stands: the serious and critical violations, each with the elements it names.
import {createRequire} from 'node:module';

const axe = createRequire(import.meta.url).resolve('axe-core/axe.min.js');

export async function violations(page) {
  if (!(await page.evaluate(() => typeof window.axe === 'object'))) await page.addScriptTag({path: axe});
  const found = await page.evaluate(async () => (await window.axe.run(document)).violations);
  return found.filter((v) => v.impact === 'serious' || v.impact === 'critical')
    .map((v) => `${v.id}: ${v.nodes.map((node) => node.target.join(' ')).join(', ')}`);
}
