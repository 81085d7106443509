#pragma once

#include <QString>
#include <string_view>

namespace tessaro::desktop {

// The core writes its messages in English, with file names, folders and reasons filled
// into fixed sentences. CoreText finds the sentence a message was made from and gives it
// in the language the window speaks, the filled-in parts translated too where they are
// core sentences themselves (a reason inside "Cannot read ..."). A text made of several
// lines ("\r" or "\n") is translated line by line when it is no sentence as a whole; a
// text that is none of the core's stays as it is.
QString CoreText(std::string_view text);

}  // namespace tessaro::desktop
