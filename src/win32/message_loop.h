// The program's message loops, the main one and the settings dialog's, with
// the one rule they share: a message that cannot be received (-1: Wine
// reports so for another program's WM_COPYDATA too large to hand over) is
// skipped. Another program's bad message must not end Velmora with a tag
// left in a title and the preferences unsaved, nor close the dialog.
#pragma once

#include <windows.h>

#include <functional>

namespace velmora::win32 {

// The thread's next message; false at WM_QUIT.
bool NextMessage(MSG& msg);

// The main loop, until WM_QUIT.
void RunMessageLoop();

// A modal window's loop: the thread's messages go on being dispatched, the
// keys of `dialog` through the dialog manager, until `done` holds. `preview`
// sees each message first and returns true for one it has handled. WM_QUIT
// ends the loop early, posted again for the main loop: then false.
bool RunModalLoop(HWND dialog, const std::function<bool()>& done, const std::function<bool(const MSG&)>& preview);

}  // namespace velmora::win32
