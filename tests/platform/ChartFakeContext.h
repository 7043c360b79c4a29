#pragma once

#include "platform/TReadContext.h"
#include "rtl/Exceptions.h"

#include <QString>
#include <map>

// A form reader's context for settings tests: unscaled pixels, and context-popup handlers
// registered by name.
class ChartFakeContext : public TReadContext {
public:
    int Scale(int storedPixels) const override { return storedPixels; }
    TNotifyEvent NotifyHandler(const QString&) const override { throw EReadError("no handler"); }
    TKeyPressEvent KeyPressHandler(const QString&) const override {
        throw EReadError("no handler");
    }
    TContextPopupEvent ContextPopupHandler(const QString& name) const override {
        const auto found = popups.find(name);
        if (found == popups.end())
            throw EReadError("no handler");
        return found->second;
    }

    std::map<QString, TContextPopupEvent> popups;
};
