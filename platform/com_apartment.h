// COM on the calling thread for as long as the object lives, for windows that
// use the system's picture loader or the shell. ole32 is loaded only then.
#pragma once

namespace platform {

class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialized_ = false;
};

}  // namespace platform
