// Where no display can be opened, Qt gives up inside the application's constructor
// with an abort and advice to reinstall. While a DisplayCheck lives, that ends the
// program instead with one line naming the cause and exit status 1.
#pragma once

namespace toolkit::qt {

class DisplayCheck {
public:
    // program: the name the line starts with, as in "tessarin: cannot open a window: ...".
    explicit DisplayCheck(const char* program);
    // Hands the messages Qt gave meanwhile on to its own handler.
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;
};

}  // namespace toolkit::qt
