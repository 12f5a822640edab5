#include "platform/ui/message_hooks.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/core/no_destructor.h"

namespace kw {

namespace {

struct Hook {
    THookId id;
    TMessageHookKind kind;
    TMessageHook proc;
};

struct HookTable {
    std::vector<Hook> hooks;
    THookId nextId = 1;
    // Per kind, set while its hooks run: a hook sees no message that its own handling sends.
    std::array<int, 2> running{};
};

HookTable& Table() {
    static TNoDestructor<HookTable> table;
    return *table;
}

}  // namespace

THookId SetMessageHook(TMessageHookKind kind, TMessageHook hook) {
    HookTable& table = Table();
    const THookId id = table.nextId++;
    table.hooks.push_back(Hook{id, kind, std::move(hook)});
    return id;
}

bool RemoveMessageHook(THookId id) {
    return std::erase_if(Table().hooks, [id](const Hook& h) { return h.id == id; }) != 0;
}

bool MessageHookInstalled(THookId id) {
    const auto& hooks = Table().hooks;
    return std::any_of(hooks.begin(), hooks.end(), [id](const Hook& h) { return h.id == id; });
}

bool CallMessageHooks(TMessageHookKind kind, TControl* window, TMessage& message) {
    HookTable& table = Table();
    int& running = table.running[static_cast<std::size_t>(kind)];
    if (table.hooks.empty() || running > 0)
        return true;
    // Hooks may come and go while they run, so the ones to call are taken first and each is
    // checked before its call.
    std::vector<THookId> ids;
    for (auto it = table.hooks.rbegin(); it != table.hooks.rend(); ++it) {
        if (it->kind == kind)
            ids.push_back(it->id);
    }
    ++running;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{running};
    for (const THookId id : ids) {
        const auto it = std::find_if(table.hooks.begin(), table.hooks.end(),
                                     [id](const Hook& h) { return h.id == id; });
        if (it == table.hooks.end())
            continue;
        const TMessageHook proc = it->proc;  // the hook may remove itself
        proc(window, message);
        if (message.Msg == WM_NULL)
            return false;
    }
    return true;
}

void ResetMessageHooks() {
    Table() = HookTable{};
}

}  // namespace kw
