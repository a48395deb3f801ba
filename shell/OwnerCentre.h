#pragma once

class QWidget;

// Places a dialog so that its whole window, frame included, stands centred
// over the whole window of its owner (the parent's window). Qt's own placing
// centres the client areas, and where it cannot tell the frame's size yet it
// guesses, so a dialog ends up higher than the middle. A dialog's frame is
// not known before it is shown; the owner's frame, drawn by the same window
// manager, stands in for it. Without an owner nothing happens.
void centreOverOwner(QWidget& dialog);
