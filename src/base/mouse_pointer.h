#pragma once

// The program-wide mouse pointer: 11 busy (hourglass), 0 default.
inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerBusy = 11;

void SetMousePointer(int pointer);
int MousePointer();

// Busy pointer for the life of a scope, back to the default at its end on every path.
class BusyPointer {
public:
    BusyPointer() { SetMousePointer(kPointerBusy); }
    ~BusyPointer() { SetMousePointer(kPointerDefault); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};
