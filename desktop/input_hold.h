#pragma once

// Keys typed while a question closes. When the user answers a message box or a dialog, the window that
// asked takes the keyboard back only once the code that asked has gone on (an entry typed again after
// 重试 opens its editor first): keys typed in between would reach the wrong widget or none. From the answer
// until the asker is back in the event loop, key and input-method events are held, and then delivered in
// the order they came to the widget that has the keyboard, as the window system's queue delivers keys to
// a program that was busy. A question shown meanwhile gets its keys at once. Holds nest.
namespace desktop::input_hold {

// Starts holding at once.
void begin();
// Ends one hold when the event loop next runs, delivering what was held if it was the last.
void endWhenIdle();

} // namespace desktop::input_hold
