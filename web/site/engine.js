// The engine (qilo_engine.wasm, bare: it imports only these two) as one
// function per command, text in and text out through its two buffers. A
// classic script the head runs before the body, so that the engine compiles
// while the page's form is first laid out; app.js takes it from here.
self.qiloEngine = (async () => {
  const imports = {
    env: { emscripten_notify_memory_growth() {} },
    wasi_snapshot_preview1: { proc_exit(code) { throw new Error(`engine exit ${code}`); } },
  };
  const { instance } = await WebAssembly.instantiateStreaming(fetch('qilo_engine.wasm'), imports);
  const wasm = instance.exports;
  wasm._initialize();
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();
  const run = (command) => (text) => {
    const bytes = encoder.encode(text);
    // Each call may grow the memory, which detaches the views taken before it.
    const into = wasm.qilo_input(bytes.length);
    new Uint8Array(wasm.memory.buffer, into, bytes.length).set(bytes);
    const at = wasm.qilo_run(command);
    return decoder.decode(new Uint8Array(wasm.memory.buffer, at, wasm.qilo_output_size()));
  };
  return { fees: run(0), limits: run(1), average: run(2), t: run(3), security: run(4) };
})();
