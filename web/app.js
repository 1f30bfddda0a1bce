// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The trick's side of the page, after emscripten's runtime in tarvelo.js:
// once the WebAssembly is ready, takes over the window as it stands (the
// build wrote it loaded, so Load does not run again) and is handed the
// page's clicks and edits one at a time, each handler running to its end.
'use strict';

createTarvelo({
    // "Выход": an installed app's window closes; a tab, which a page may
    // not close, loses the window, and nothing runs until a reload.
    unload() {
        document.getElementById('Form1').remove();
        window.close();
    },
}).then((game) => tarveloReady((event) => {
    if ('text' in event) {
        // Each edit of the count, as the desktop's text box reports it.
        document.getElementById('Text1').value = event.text;
        game._tarvelo_change();
        return;
    }
    const control = 'id' in event ? document.getElementById(event.id)
        : document.elementFromPoint(event.x, event.y)?.closest('#Form1 button');
    if (control && !control.disabled && !control.closest('[hidden]'))
        game.ccall('tarvelo_click', null, ['string'], [control.id]);
}));
