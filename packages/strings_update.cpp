#include "packages/strings_update.h"

#include "framework/sets_lock.h"
#include "packages/language_package.h"
#include "packages/package_scopes.h"
#include "platform/core/files.h"
#include "platform/text/strings.h"

namespace kw {

int KwMergeSystemStrings(TKwPkgStrings& target, const TKwPkgStrings& source,
                         const TKwUpdateProgress& progress) {
    static constexpr const Char* kCaptions[] = {u"Updating Label: ", u"Updating Message: ",
                                                u"Updating Text: "};
    TKwSetsLock lock;
    int merged = 0;
    KwWithScreenUpdate(true, [&] {
        for (TKwStringsKind kind : kKwAllStringsKinds) {
            const TKwPkgStringsCollection& items = source.Collection(kind);
            TKwPkgStringsCollection& into = target.Collection(kind);
            for (int i = 0; i < items.Count(); ++i) {
                if (progress)
                    progress(kCaptions[static_cast<int>(kind)] + IntToStr(i), i, items.Count() - 1);
                const TKwPkgStringsItem& item = items.ItemAt(i);
                TKwPkgStringsItem* existing = into.FindItem(item.Id());
                if (existing == nullptr)
                    existing = &into.AddEmpty(item.Id());
                if (!existing->Protected())
                    existing->Assign(item);
            }
            merged += items.Count();
        }
    });
    return merged;
}

bool KwUpdateSystemStrings(TKwPkgLanguage& language, const String& path,
                           const TKwUpdateProgress& progress) {
    TKwPkgLanguage update;
    {
        TKwLoadingScope quiet(update);
        update.LoadFromFile(path);
    }
    if (KwMergeSystemStrings(language.SystemStrings(), update.SystemStrings(), progress) == 0)
        return false;
    const String full = ExpandFileName(path);
    const String folder = Trim(KwSystemPackagesFolder());
    const bool inSystemFolder =
        !folder.empty() && ExtractFilePath(full) == AddPathBar(ExpandFileName(folder));
    language.SetUpdateDateTime(update.FileDateTime());
    language.SetLastUpdateFile(inSystemFolder ? ExtractFileName(full) : full);
    language.SetModified(true);
    return true;
}

}  // namespace kw
