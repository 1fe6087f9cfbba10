// What a pupil must see, from the hand-written expected form that every
// suite reads, in the shapes the page's checks compare with.
'use strict';

const fs = require('node:fs');

const rgb = ([red, green, blue]) => `rgb(${red}, ${green}, ${blue})`;

function expectedForm(file) {
    const form = JSON.parse(fs.readFileSync(file, 'utf8'));
    if (form.rows.length !== 20)
        throw new Error(`${file}: ${form.rows.length} rows, expected 20`);
    const shown = form.controls.filter((control) => control.role !== 'hidden list');
    const control = (name) => form.controls.find((it) => it.name === name);
    return {
        title: form.title,
        client: { width: form.client[0], height: form.client[1] },
        fontPixels: form.font.pixels,
        // Each box as [id, [left, top, width, height], background]; a control
        // without a colour of its own has the browser's Canvas, as the window's
        // have the desktop's.
        boxes: [['MainForm', [0, 0, ...form.client], rgb(form.windowColour)],
            ...shown.map((it) => [it.name, it.rect, it.colour ? rgb(it.colour) : 'Canvas'])],
        captions: shown.filter((it) => it.text !== undefined).map((it) => [it.name, it.text]),
        names: shown.filter((it) => it.accessibleName !== undefined)
            .map((it) => [it.name, it.accessibleName]),
        hidden: form.controls.filter((it) => it.role === 'hidden list').map((it) => it.name),
        heading: control('Label1_0').text,
        rows: form.rows,
        cleared: [form.cleared.checks, form.cleared.option],
        lesson: form.lesson,
    };
}

module.exports = { expectedForm };
