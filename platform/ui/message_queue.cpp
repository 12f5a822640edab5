#include "platform/ui/message_queue.h"

#include <deque>

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
        posted.target->Perform(posted.message.Msg, posted.message.WParam, posted.message.LParam);
    } else if (posted.message.Msg == WM_QUIT) {
        Application().Terminate();
    }
    return true;
}

int PostedMessageCount() {
    return static_cast<int>(Queue().size());
}

void ForgetPostedMessages(const TControl* target) {
    std::erase_if(Queue(), [&](const Posted& p) { return p.target == target; });
}

void ResetMessageQueue() {
    Queue().clear();
}

}  // namespace kw
