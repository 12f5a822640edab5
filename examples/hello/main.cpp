// A small application built against the installed library: it puts an application object on
// a form, streams the form to bytes and back, and shows what start-up made of it.
#include <iostream>

#include "framework/application.h"
#include "framework/state.h"
#include "platform/form.h"
#include "platform/form_stream.h"
#include "platform/stream.h"
#include "platform/strings.h"
#include "platform/unicode.h"

namespace {

void Print(kw::StringView text) {
    std::cout << kw::StringToUtf8(text) << '\n';
}

}  // namespace

int main() {
    using namespace kw;
    RegisterClass(TForm::StaticClass());
    RegisterClass(TKwCApplication::StaticClass());

    TMemoryStream stream;
    {
        TForm form;
        form.SetName(u"MainForm");
        auto& app = Create<TKwCApplication>(form);
        app.SetName(u"KwApp");
        app.SetPath(u"packages");
        WriteComponent(stream, form);
    }
    Print(Format(u"Form stream: %d bytes", {stream.Size()}));

    stream.SetPosition(0);
    std::unique_ptr<TComponent> form = ReadNewComponent(stream);
    Print(Format(u"Read back %s with %d component(s)", {form->Name(), form->ComponentCount()}));
    for (TComponent* c : form->ComponentList()) {
        Print(Format(u"  %-16s %s", {c->ClassName(), c->Name()}));
    }
    if (TKwCApplication* app = KwCApp()) {
        Print(Format(u"Active application object: %s, package path \"%s\"",
                     {app->Name(), app->Path()}));
    }
    return 0;
}
