// The batch tool is a module of its own (an .mjs file): started by node, it runs main at once,
// with its .wasm found beside it on the file system.
//
// Without --decimal-separator the native tool writes the decimal separator of the user's locale
// (LC_ALL, LC_NUMERIC, LANG).  The C library here knows no locales, so the separator is asked of
// node's own locale data and passed on as the option.
const zorkventaArguments = process.argv.slice(2);
const zorkventaLocale = process.env.LC_ALL || process.env.LC_NUMERIC || process.env.LANG || '';
if (!zorkventaArguments.includes('--decimal-separator') && zorkventaLocale &&
    !/^(C|POSIX)([._@]|$)/.test(zorkventaLocale)) {
  try {
    const tag = zorkventaLocale.split(/[.@]/)[0].replace('_', '-');
    const decimal = new Intl.NumberFormat(tag).formatToParts(1.5).find((part) => part.type === 'decimal');
    if (decimal && decimal.value.length === 1)
      zorkventaArguments.unshift('--decimal-separator', decimal.value);
  } catch (e) {
    // A locale name node cannot read: the C locale's point, as the C library would fall back to.
  }
}
Module({ arguments: zorkventaArguments, locateFile: (path) => __dirname + '/' + path });
