// A small application built against the installed library. It designs a form holding an
// application object whose language and display packages live in the installed reference files,
// saves the form stream, loads it again the way a program starts, shows a few texts and styles
// resolved through the packages, then switches the language at run time and shows them again.
#include <iostream>

#include "display/default_sets.h"
#include "display/display_package.h"
#include "display/image_package.h"
#include "display/set_references.h"
#include "framework/app_hooks.h"
#include "framework/application.h"
#include "packages/language_package.h"
#include "packages/memory_refs.h"
#include "platform/core/files.h"
#include "platform/core/form_stream.h"
#include "platform/core/stream.h"
#include "platform/graphics/font.h"
#include "platform/text/strings.h"
#include "platform/text/unicode.h"
#include "platform/ui/form.h"

namespace {

using namespace kw;

void Print(StringView text) {
    std::cout << StringToUtf8(text) << '\n';
}

String ColorText(TColor color) {
    return Format(u"0x%.8X", {static_cast<std::int64_t>(color)});
}

// What a control of the form would show: label texts and the values of three set references.
void Show(TKwCApplication& app) {
    Print(Format(u"  language: %s (%s)",
                 {app.PkgLanguage().Description(), app.PkgLanguage().FileName()}));
    for (int id : {3, 4, 16, 17}) {
        TKwMemoryLabel label(u"System", id, true);
        Print(Format(u"  System label %d: \"%s\" (hint \"%s\")", {id, label.Text(), label.Hint()}));
    }
    // A bit button's background: its own library default unless the skin overrides it.
    TKwSetBackGround button(&KwSetBBBackGround(), true);
    TKwSetColor text;
    text.SetName(u"Dft_ColText");
    TKwSetFont font;
    const TFont& f = font.Font();
    Print(Format(
        u"  background of a bit button: %s (%s)",
        {ColorText(button.Color()), button.Info() ? button.Info()->Name() : u"library default"}));
    Print(Format(u"  text colour set Dft_ColText: %s", {ColorText(text.Color())}));
    Print(Format(u"  font: %s, %d px", {f.Name(), f.Height()}));
    Print(Format(u"  System images: %d", {app.PkgDisplay().SystemImages().Images().Count()}));
}

}  // namespace

int main(int argc, char** argv) {
    RegisterClass(TForm::StaticClass());
    RegisterClass(TKwCApplication::StaticClass());
    // The reference files: the installed ones, or a folder given on the command line.
    const String packages = argc > 1 ? Utf8ToString(argv[1]) : KwInstallationFolder();
    const String formFile = argc > 2 ? Utf8ToString(argv[2]) : String(u"hello.kwform");
    if (packages.empty()) {
        std::cerr << "kwhello: no installed reference packages folder\n";
        return 1;
    }

    {
        TForm form;
        form.SetName(u"MainForm");
        auto& app = Create<TKwCApplication>(form);
        app.SetName(u"KwApp");
        app.SetPath(packages);
        app.BeginLoading();  // designing: the files are named, not loaded yet
        app.PkgLanguage().SetInitMode(rimFILE);
        app.PkgLanguage().SetFileName(u"Spanish.lan");
        app.PkgDisplay().SetInitMode(rimFILE);
        app.PkgDisplay().SetFileName(u"standard.dis");
        app.EndLoading();
        TFileStream file(formFile, TFileMode::fmCreate);
        WriteComponent(file, form);
        Print(Format(u"Saved the form stream %s (%d bytes)", {formFile, file.Size()}));
    }

    std::unique_ptr<TComponent> form;
    {
        TFileStream file(formFile, TFileMode::fmOpenRead);
        form = ReadNewComponent(file);
    }
    TKwCApplication* app = KwCApp();
    if (app == nullptr) {
        std::cerr << "kwhello: the form holds no application object\n";
        return 1;
    }
    Print(Format(u"Loaded %s: application object %s", {form->Name(), app->Name()}));
    Show(*app);

    Print(u"Switching the language to German.lan");
    app->PkgLanguage().SetFileName(u"German.lan");
    Show(*app);
    return 0;
}
