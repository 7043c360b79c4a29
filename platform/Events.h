#pragma once

#include <functional>

class TComponent;

// Every handler takes the component that sent the event first and ignores it.
using TObject = TComponent;

// A point in pixels, as the context-popup event passes it.
struct TPoint {
    int X = 0;
    int Y = 0;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
// Key is the typed character as one byte; the handler may rewrite it, and 0 swallows it.
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
// MousePos is in the sender's client coordinates; Handled arrives false.
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
