#include "platform/ui/messages.h"

#include <mutex>
#include <vector>

#include "platform/core/exception.h"
#include "platform/core/no_destructor.h"
#include "platform/text/strings.h"

namespace kw {

namespace {

struct MessageRegistry {
    std::mutex mutex;
    std::vector<String> names;  // index i holds the name of kFirstRegisteredMessage + i
};

MessageRegistry& Registry() {
    static TNoDestructor<MessageRegistry> registry;
    return *registry;
}

}  // namespace

Cardinal RegisterWindowMessage(StringView name) {
    if (name.empty())
        throw EInvalidArgument(u"A registered message needs a name");
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    for (size_t i = 0; i < reg.names.size(); ++i) {
        if (SameText(reg.names[i], name))
            return kFirstRegisteredMessage + static_cast<Cardinal>(i);
    }
    if (reg.names.size() > kLastRegisteredMessage - kFirstRegisteredMessage) {
        throw EInvalidArgument(u"No registered message numbers are left");
    }
    reg.names.emplace_back(name);
    return kFirstRegisteredMessage + static_cast<Cardinal>(reg.names.size() - 1);
}

String RegisteredMessageName(Cardinal msg) {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    if (msg < kFirstRegisteredMessage)
        return {};
    const size_t index = msg - kFirstRegisteredMessage;
    return index < reg.names.size() ? reg.names[index] : String();
}

void ResetRegisteredMessages() {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    reg.names.clear();
}

}  // namespace kw
