#pragma once

#include "platform/Events.h"

#include <QString>

// What a component needs from the form reader while it applies its stored settings: the
// scale of stored pixels to the screen and the handlers that events are bound to by name.
class TReadContext {
public:
    virtual ~TReadContext() = default;

    // Stored sizes are pixels at 120 pixels per inch; this gives device-independent pixels.
    virtual int Scale(int storedPixels) const = 0;

    // Each throws EReadError when the form has no handler of that name and kind.
    virtual TNotifyEvent NotifyHandler(const QString& name) const = 0;
    virtual TKeyPressEvent KeyPressHandler(const QString& name) const = 0;
    virtual TContextPopupEvent ContextPopupHandler(const QString& name) const = 0;
};
