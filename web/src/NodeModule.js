// The batch tool is an ES module run by node: what Emscripten's node support expects of a
// CommonJS script, made from the module's own address.
import { createRequire } from 'module';
import { fileURLToPath } from 'url';
import { dirname } from 'path';
const require = createRequire(import.meta.url);
const __filename = fileURLToPath(import.meta.url);
const __dirname = dirname(__filename);
