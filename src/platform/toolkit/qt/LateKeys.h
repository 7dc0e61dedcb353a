// Keeps an open menu from taking a modifier that went down before it opened. Qt runs a shortcut as soon as it reads
// the key, but queues the key presses themselves for the window that had the keyboard then; when Alt and F are read
// together (a busy machine, a tool that types), Alt+F opens the File menu first, and the press of Alt, delivered
// after it, goes to the menu, which closes at a press of Alt.
#pragma once

class QWindow;

namespace toolkit::qt {

// From now on, while a menu or other popup holds the keyboard, a press of a modifier key that Qt still delivers to
// `window` is dropped: it was read before the popup opened. Any other key passes, as Qt delivers it.
void IgnoreLateModifiers(QWindow& window);

}  // namespace toolkit::qt
