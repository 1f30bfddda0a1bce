// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// The page's own script, inside it right after the window, which the build
// wrote as the load handler leaves it: places and scales the window before
// the first paint, gives the count the focus, and keeps every click and
// edit in the order made until the trick in WebAssembly takes them (app.js,
// which calls tarveloReady). Registers the service worker for offline play.
'use strict';

(() => {
    const form = document.getElementById('Form1');
    const count = document.getElementById('Text1');

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
    // A tap's focus stays with the page, so that a phone opens no keyboard.
    if (!coarse.matches)
        count.focus();

    // A click made with a pointer goes to whatever takes a click at its
    // point when its turn comes, which the events before it may change; one
    // made with a key (detail 0) to its button, if that still takes it. An
    // edit carries the text it left.
    const queue = [];
    let deliver = null, delivering = false;
    const flush = () => {
        if (!deliver || delivering)
            return;
        delivering = true;
        // Nothing after "Выход", which takes the window away.
        while (queue.length && form.isConnected)
            deliver(queue.shift());
        queue.length = 0;
        delivering = false;
    };
    const take = (event) => {
        queue.push(event);
        flush();
    };
    form.addEventListener('click', (event) => {
        const button = event.target.closest('button');
        // Once the trick is there, the browser's own choice of target
        // stands, as it does for a touch that lands beside a button.
        if (event.detail > 0 && !deliver)
            take({ x: event.clientX, y: event.clientY });
        else if (button)
            take({ id: button.id });
    });
    count.addEventListener('input', () => take({ text: count.value }));

    // The trick's script hands over its delivery once its WebAssembly is
    // ready. Edits made before then already show, but the count takes them
    // in turn, from the text it had at first.
    window.tarveloReady = (handler) => {
        if (queue.length)
            count.value = count.defaultValue;
        deliver = handler;
        flush();
        // For whoever watches the page: from here a click is taken at once.
        form.dataset.trick = 'ready';
    };

    // Kept for offline play once the page has loaded, not while it loads.
    if ('serviceWorker' in navigator)
        addEventListener('load', () => navigator.serviceWorker.register('sw.js'));
})();
