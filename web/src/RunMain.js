// The batch tool is a module of its own (an .mjs file): started by node, it runs main at once,
// with its .wasm found beside it on the file system.
Module({ locateFile: (path) => __dirname + '/' + path });
