#include "platform/ui/message_queue.h"

#include <algorithm>
#include <deque>
#include <vector>

#include "platform/core/no_destructor.h"
#include "platform/ui/application.h"
#include "platform/ui/control.h"
#include "platform/ui/message_hooks.h"

namespace kw {

namespace {

struct Posted {
    TControl* target;
    TMessage message;
};

std::deque<Posted>& Queue() {
    static TNoDestructor<std::deque<Posted>> queue;
    return *queue;
}

struct Releases {
    int delivering = 0;
    std::vector<TComponent*> pending;
};

Releases& Released() {
    static TNoDestructor<Releases> releases;
    return *releases;
}

void FreeReleased() {
    auto& pending = Released().pending;
    while (!pending.empty()) {
        TComponent* component = pending.back();
        pending.pop_back();
        delete component;  // NOLINT(cppcoreguidelines-owning-memory): released by its holder
    }
}

}  // namespace

void PostMessage(TControl* target, Cardinal msg, std::uintptr_t wParam, std::intptr_t lParam) {
    Queue().push_back(Posted{target, TMessage{msg, wParam, lParam, 0}});
}

bool DeliverPostedMessage() {
    auto& queue = Queue();
    if (queue.empty())
        return false;
    Posted posted = queue.front();
    queue.pop_front();
    if (!CallMessageHooks(TMessageHookKind::mhkQueued, posted.target, posted.message))
        return true;
    if (posted.target != nullptr) {
        ++Released().delivering;
        struct Done {
            ~Done() {
                if (--Released().delivering == 0)
                    FreeReleased();
            }
        } done;
        posted.target->Perform(posted.message.Msg, posted.message.WParam, posted.message.LParam);
    } else if (posted.message.Msg == WM_QUIT) {
        Application().Terminate();
    }
    return true;
}

void FreeAfterMessage(TComponent& component) {
    auto& releases = Released();
    if (std::find(releases.pending.begin(), releases.pending.end(), &component) ==
        releases.pending.end())
        releases.pending.push_back(&component);
    if (releases.delivering == 0)
        FreeReleased();
}

int PostedMessageCount() {
    return static_cast<int>(Queue().size());
}

void ForgetPostedMessages(const TControl* target) {
    std::erase_if(Queue(), [&](const Posted& p) { return p.target == target; });
}

void ResetMessageQueue() {
    Queue().clear();
    Released().pending.clear();
}

}  // namespace kw
