// The page around the show: downloads it with a progress bar, starts it on a click (browsers
// allow sound only after one), enters and leaves full screen, shows the program's messages, and
// says when the show has ended. The address's query is the program's command line:
// ?start=60&fps=10 is --start 60 --fps 10. With ?capture or ?benchmark the page runs that mode at
// once and keeps what it made in vexmoroPage.result (frames as PNG in base64, the benchmark's
// JSON) for whoever drives the page.
'use strict';

(function () {
  const query = new URLSearchParams(location.search);
  const offline = query.has('capture') || query.has('benchmark');
  const captureFolder = '/capture';
  const musicRate = 44100; // the rate the program decodes its music at
  const element = (id) => document.getElementById(id);
  const stage = element('stage');
  const front = element('front');
  const play = element('play');
  const bar = element('progress').firstElementChild;
  const note = element('note');
  const messages = element('messages');

  // What a harness (or a curious viewer) can read back.
  const page = (window.vexmoroPage = {
    state: 'downloading', // then ready, playing, ended, failed
    webgl2: false,
    frames: 0,
    showTime: null,
    messages: [],
    output: [],
    result: null,
  });

  function showMessage(caption, text) {
    const line = caption + ': ' + text;
    if (page.messages.includes(line)) return;
    page.messages.push(line);
    messages.textContent = page.messages.join('\n');
    messages.style.display = 'block';
  }

  // A failure of the page itself, said on the page and in the console.
  function fail(caption, text) {
    console.error(caption + ': ' + text);
    showMessage(caption, text);
    page.state = 'failed';
    front.className = 'waiting';
    play.disabled = true;
    note.textContent = 'The show cannot play here.';
  }

  function commandLine() {
    const args = ['--windowed'];
    for (const [key, value] of query) {
      if (key === 'capture') {
        args.push('--capture', captureFolder);
        continue;
      }
      args.push('--' + key);
      if (value !== '') args.push(value);
    }
    return args;
  }

  function hasWebGL2() {
    try {
      return document.createElement('canvas').getContext('webgl2') !== null;
    } catch (error) {
      return false;
    }
  }

  function setProgress(loaded, total) {
    bar.style.width = total > 0 ? Math.min(100, (100 * loaded) / total) + '%' : '0';
  }

  // Emscripten's loader reports its downloads as "Downloading data... (LOADED/TOTAL)".
  function status(text) {
    const counts = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text);
    if (counts) setProgress(Number(counts[1]), Number(counts[2]));
  }

  function ready() {
    if (page.state !== 'downloading') return;
    page.state = 'ready';
    setProgress(1, 1);
    if (offline) {
      note.textContent = 'Running ' + (query.has('capture') ? 'a capture' : 'a benchmark') + '…';
      start();
      return;
    }
    front.className = '';
    play.disabled = false;
    note.textContent = '';
    element('progress').style.visibility = 'hidden';
    play.focus();
  }

  function start() {
    if (page.state !== 'ready' && page.state !== 'ended') return;
    messages.style.display = 'none';
    page.messages = [];
    page.frames = 0;
    page.result = null;
    page.state = 'playing';
    front.className = 'busy';
    play.disabled = true;
    note.textContent = 'Loading…';
    // Made inside the click, so that the browser lets it sound; SDL plays into it.
    if (!offline) Module.SDL2 = { audioContext: new AudioContext({ sampleRate: musicRate }) };
    // The loading picture stays up while the program loads, which takes a moment.
    setTimeout(() => Module.callMain(commandLine()), 0);
  }

  function readCapture() {
    const frames = {};
    const FS = Module.FS;
    if (!FS.analyzePath(captureFolder).exists) return frames;
    for (const name of FS.readdir(captureFolder)) {
      if (!name.endsWith('.png')) continue;
      const bytes = FS.readFile(captureFolder + '/' + name);
      let text = '';
      for (let i = 0; i < bytes.length; i += 0x8000)
        text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
      frames[name] = btoa(text);
      FS.unlink(captureFolder + '/' + name);
    }
    return frames;
  }

  function ended(exitStatus) {
    page.state = 'ended';
    if (offline) {
      let benchmark = null;
      const last = page.output[page.output.length - 1];
      if (query.has('benchmark') && last && last.startsWith('{')) benchmark = JSON.parse(last);
      page.result = { status: exitStatus, frames: readCapture(), benchmark: benchmark };
      note.textContent = exitStatus === 0 ? 'Done.' : 'Failed; see the message above.';
      front.className = 'waiting';
      front.style.display = '';
      return;
    }
    if (document.fullscreenElement) document.exitFullscreen();
    front.style.display = '';
    front.className = '';
    play.textContent = 'Play again';
    play.disabled = false;
    note.textContent = exitStatus === 0 ? 'The show has ended.' : 'The show stopped.';
    play.focus();
  }

  function toggleFullscreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else if (stage.requestFullscreen)
      stage.requestFullscreen().catch((error) => showMessage('Full screen', error.message));
  }

  window.Module = {
    canvas: element('canvas'),
    print: (line) => {
      page.output.push(line);
      console.log(line);
    },
    // Progress and notes; the failures among them also reach the page through vexmoroMessage.
    printErr: (line) => console.log(line),
    setStatus: status,
    onRuntimeInitialized: ready,
    onAbort: (what) => fail('vexmoro', 'the program stopped: ' + what),
    vexmoroMessage: (error, caption, text) => showMessage(caption, text),
    vexmoroFrame: (time) => {
      page.frames += 1;
      page.showTime = time;
      if (page.frames === 1) front.style.display = 'none';
    },
    vexmoroEnded: ended,
  };

  page.webgl2 = hasWebGL2();
  if (!page.webgl2) {
    fail('vexmoro', 'this browser gives no WebGL 2 context, which the show needs to draw');
    window.Module.onRuntimeInitialized = () => {};
  }
  // Errors of the page's scripts, and (seen only while capturing) files that did not download.
  window.addEventListener(
    'error',
    (event) => {
      const file = event.target && event.target.src;
      fail('vexmoro', file ? 'unable to download ' + file : event.message);
    },
    true,
  );
  element('canvas').addEventListener('webglcontextlost', () =>
    fail('vexmoro', 'the WebGL context was lost'));

  front.addEventListener('click', start);
  element('fullscreen').addEventListener('click', toggleFullscreen);
  element('canvas').addEventListener('dblclick', toggleFullscreen);
  // Before the program's own key handling: F toggles full screen, and the Escape that leaves
  // full screen is the browser's, not the one that ends the show.
  window.addEventListener(
    'keydown',
    (event) => {
      if (event.key === 'f' || event.key === 'F') {
        toggleFullscreen();
        event.stopImmediatePropagation();
      } else if (event.key === 'Escape' && document.fullscreenElement) {
        event.stopImmediatePropagation();
      }
    },
    true,
  );
})();
