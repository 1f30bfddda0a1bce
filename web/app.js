// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The page's side of the game, run at the end of the page: scales the
// window to the screen, hands the page's events to the trick in
// WebAssembly, shows the window once it has loaded, and keeps the site for
// offline play.
'use strict';

(() => {
    const form = document.getElementById('Form1');

    // With a touch screen the largest scale at which the window fits whole;
    // with a mouse, scale 1 where it fits. In the middle of the screen, on
    // whole pixels, so that its lines stay sharp and a pixel of the
    // window is a pixel of the screen.
    const coarse = matchMedia('(pointer: coarse)');
    const fit = () => {
        // The window's own size, which its scale leaves alone.
        const width = parseFloat(getComputedStyle(form).width), height = parseFloat(getComputedStyle(form).height);
        let scale = Math.min(innerWidth / width, innerHeight / height);
        if (!coarse.matches)
            scale = Math.min(scale, 1);
        form.style.left = `${Math.max(0, Math.floor((innerWidth - width * scale) / 2))}px`;
        form.style.top = `${Math.max(0, Math.floor((innerHeight - height * scale) / 2))}px`;
        form.style.transform = scale === 1 ? '' : `scale(${scale})`;
    };
    addEventListener('resize', fit);
    coarse.addEventListener('change', fit);
    fit();

    // The window shows once the trick has loaded it and its faces and
    // picture are ready to be drawn.
    const drawn = [...['700 11px', 'italic 700 11px'].map((font) => `${font} "Tarvelo Sans"`),
        '700 13px "Tarvelo Sans Narrow"'].map((font) => document.fonts.load(font));
    Promise.all([createTarvelo({
        // "Выход": an installed app's window closes; a tab, which a page may
        // not close, loses the window, and nothing runs until a reload.
        unload() {
            form.remove();
            window.close();
        },
    }), form.querySelector('#Image1_0 img').decode(), ...drawn]).then(([game]) => {
        for (const button of form.querySelectorAll('button'))
            button.addEventListener('click', () => game.ccall('tarvelo_click', null, ['string'], [button.id]));
        // Each edit of the count, as the desktop's text box reports it.
        form.querySelector('#Text1').addEventListener('input', () => game._tarvelo_change());
        game._tarvelo_load();
        form.hidden = false;
        if (!coarse.matches)
            form.querySelector('#Text1').focus();
    });

    // Kept for offline play once the page has loaded, not while it loads.
    if ('serviceWorker' in navigator)
        addEventListener('load', () => navigator.serviceWorker.register('sw.js'));
})();
