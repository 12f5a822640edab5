#include "drawing/enum_names.h"

namespace kw::detail {

std::vector<String> SplitEnumIdents(StringView list) {
    std::vector<String> idents;
    String ident;
    for (const Char c : list) {
        if (c == u',') {
            idents.push_back(std::move(ident));
            ident.clear();
        } else if (c != u' ' && c != u'\n' && c != u'\t') {
            ident.push_back(c);
        }
    }
    if (!ident.empty())
        idents.push_back(std::move(ident));
    return idents;
}

}  // namespace kw::detail
