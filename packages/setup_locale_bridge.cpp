#include "packages/setup_locale_bridge.h"

#include "packages/language_package.h"
#include "packages/locale_access.h"

namespace kw {

int KwSystemDateOrder() {
    return static_cast<int>(KwSystemDateFormat());
}

TKwPkgInfo* KwLanguagePackageOf(TKwCApplication& app) {
    return KwLanguageOf(app);
}

}  // namespace kw
