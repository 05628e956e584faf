#pragma once

// Everything the embedded map browser needs before the application object
// exists: our page scheme, shared OpenGL contexts, software composition of
// the page, and, when the process runs as root, the browser's sandbox
// switched off (it refuses to start as root otherwise). Call it first in
// main().
void PrepareMapBeforeApplication();
