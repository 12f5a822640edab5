// Uses the library the way an application does, through the installed headers and shared
// library only: an application object with its language, a strings package of its own saved
// and loaded again, references resolving and following a language switch, the value stream and
// the text helpers. Exits with 1 and says why when anything differs from what is expected.
#include <iostream>
#include <memory>

#include "framework/application.h"
#include "packages/language_package.h"
#include "packages/memory_refs.h"
#include "packages/strings_package.h"
#include "platform/core/filer.h"
#include "platform/core/stream.h"
#include "platform/text/string_list.h"
#include "platform/text/strings.h"
#include "platform/text/unicode.h"

namespace {

using namespace kw;

int failures = 0;

void Expect(bool ok, const char* what) {
    if (!ok) {
        std::cerr << "kw_installed_use: " << what << '\n';
        ++failures;
    }
}

void UseValueStream() {
    TMemoryStream stream;
    {
        TWriter writer(stream);
        writer.WriteInteger(std::int32_t{-70000});
        writer.WriteString(u"\u00C9t\u00E9");
        writer.WriteBoolean(true);
        writer.WriteFloat(2.5);
    }
    stream.SetPosition(0);
    TReader reader(stream);
    Expect(reader.ReadInteger() == -70000, "integer read back");
    Expect(reader.ReadString() == u"\u00C9t\u00E9", "text read back");
    Expect(reader.ReadBoolean(), "boolean read back");
    Expect(reader.ReadFloat() == 2.5, "float read back");
}

void UseLanguage(TKwCApplication& app, const char* languageFile) {
    TKwPkgLanguage& language = app.PkgLanguage();
    language.LoadFromFile(Utf8ToString(languageFile));
    Expect(language.SystemStrings().Labels().Count() > 0, "reference language file has labels");

    // A caption reference follows a change of the label it shows.
    TKwPkgStringsLabels& labels = language.SystemStrings().Labels();
    const int id = labels.UniqueId();
    labels.Add(id, u"Before", u"Hint");
    TKwMemoryLabel caption;
    int changes = 0;
    caption.OnChange = [&changes](TKwMemoryReference&) { ++changes; };
    caption.PkgId(u"System", id);
    Expect(caption.Text() == u"Before" && caption.Hint() == u"Hint", "caption resolves");
    labels.FindId(id)->SetText(u"After");
    Expect(caption.Text() == u"After" && changes >= 2, "caption follows the label");
    Expect(KwReadPkgLabelText(u"System", id) == u"After", "label read by package name");
}

void UseOwnStrings() {
    TKwPkgStrings strings;
    strings.SetPkgName(u"Main");
    strings.Messages().Add(5, u"Saved \u00FCber");
    TMemoryStream file;
    strings.SaveToStream(file);
    strings.Clear();
    file.SetPosition(0);
    strings.LoadFromStream(file);
    Expect(KwReadPkgMessage(u"Main", 5) == u"Saved \u00FCber", "own package saved and loaded");
    TStringList actives;
    KwPkgStringsActives(actives);
    Expect(actives.IndexOf(u"Main") >= 0, "own package listed as active");
    Expect(AnsiSameText(u"MAIN", strings.PkgName()) && StringToUtf8(u"\u00FC") == "\xC3\xBC",
           "text helpers");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: kw_installed_use <language file>\n";
        return 2;
    }
    {
        auto app = std::make_unique<TKwCApplication>();
        UseValueStream();
        UseLanguage(*app, argv[1]);
        UseOwnStrings();
    }
    if (failures == 0)
        std::cout << "installed library: all checks passed\n";
    return failures == 0 ? 0 : 1;
}
