#pragma once

#include <QImage>
#include <functional>

// The system clipboard as the program uses it: an image replaces everything it held.
class TClipboard {
public:
    // Puts the image on the clipboard as its only content (every image type the platform
    // offers, image/png among them on Linux). Throws EClipboardException "Cannot open
    // clipboard" when the clipboard cannot be taken; it then keeps what it held.
    static void SetImage(const QImage& image);

    // Asked before the clipboard is taken; returning false means another program holds it.
    // Returns the function it replaces; an empty function means the clipboard is always free.
    using TOpenFunction = std::function<bool()>;
    static TOpenFunction SetOpenFunction(TOpenFunction function);
};
