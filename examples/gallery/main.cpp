// The gallery: one form holding every control and element of the library, shown in each
// reference language and bundled skin.
//   kwgallery [--packages DIR] --out DIR       PNG files for every language and skin, and a
//                                               contact sheet gallery.png
//   kwgallery [--packages DIR] --window         a real window with live switches
//   kwgallery [--packages DIR] --window --script --out DIR
//                                               the window driven by pushed events
#include <iostream>
#include <string>

#include "display/image_package.h"
#include "framework/application.h"
#include "gallery.h"
#include "gallery_window.h"
#include "platform/core/object.h"
#include "platform/text/unicode.h"
#include "platform/ui/form.h"

namespace {

int Usage() {
    std::cerr << "usage: kwgallery [--packages DIR] --out DIR\n"
                 "       kwgallery [--packages DIR] --window [--script --out DIR]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kw;
    String packages, out;
    bool window = false, script = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--packages" || arg == "--out") && i + 1 < argc)
            (arg == "--out" ? out : packages) = Utf8ToString(argv[++i]);
        else if (arg == "--window")
            window = true;
        else if (arg == "--script")
            script = true;
        else
            return Usage();
    }
    if ((!window && out.empty()) || (script && (!window || out.empty())))
        return Usage();
    const String folder = KwGalleryPackagesFolder(packages);
    if (folder.empty()) {
        std::cerr << "kwgallery: no reference files found (give --packages DIR)\n";
        return 1;
    }
    try {
        if (script)
            return KwRunGalleryScript(folder, out);
        if (window)
            return KwRunGalleryWindow(folder);
        std::cout << "Gallery pictures:\n";
        for (const String& file : KwRenderGallery(folder, out))
            std::cout << "  " << StringToUtf8(file) << '\n';
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "kwgallery: " << error.what() << '\n';
        return 1;
    }
}
