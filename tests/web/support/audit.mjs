// An axe-core audit of the page as it stands: the serious and critical violations, each with the elements it names.
import {readFileSync} from 'node:fs';
import {createRequire} from 'node:module';

const axe = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

export async function violations(page) {
  if (!(await page.evaluate(() => typeof window.axe === 'object'))) {
    await page.evaluate((source) => { (0, eval)(source); }, axe);
  }
  const found = await page.evaluate(async () => (await window.axe.run(document)).violations);
  return found.filter((v) => v.impact === 'serious' || v.impact === 'critical')
    .map((v) => `${v.id}: ${v.nodes.map((node) => node.target.join(' ')).join(', ')}`);
}
