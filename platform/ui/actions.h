#pragma once

#include <array>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

#include "platform/core/component.h"

namespace kw {

class TActionLink;

// A command that controls run and whose state they show. OnUpdate lets the program set the
// state just before it matters; OnExecute does the work.
class TBasicAction : public TComponent {
    KW_CLASS(TBasicAction)
public:
    explicit TBasicAction(TComponent* owner = nullptr);
    ~TBasicAction() override;

    // Runs OnExecute; false when there is none.
    virtual bool Execute();
    // Runs OnUpdate; false when there is none or when it is already running (an OnUpdate that
    // pumps messages reaches the idle update of its own action again).
    virtual bool Update();

    std::function<void(TObject* sender)> OnExecute;
    std::function<void(TObject* sender)> OnUpdate;

protected:
    const std::vector<TActionLink*>& Clients() const { return clients_; }

private:
    friend class TActionLink;
    std::vector<TActionLink*> clients_;
    bool updating_ = false;
};

// Updates each action in turn; one that an earlier OnUpdate freed is skipped.
void UpdateEachAction(std::vector<TBasicAction*> actions);

// The properties an action hands to the controls linked to it.
// The group comes before the checked state, so that a control joins the group before it is
// checked in it.
enum class TActionProperty { apCaption, apHint, apEnabled, apVisible, apGroupIndex, apChecked };
inline constexpr std::size_t kActionProperties = 6;
using TActionValue = std::variant<String, bool, int>;

// An action with a caption, hint and state. Changing one of them changes it in every linked
// control that still shows the action's old value; a control whose own value was changed
// since keeps it.
class TAction : public TBasicAction {
    KW_CLASS(TAction)
public:
    explicit TAction(TComponent* owner = nullptr);

    const String& Caption() const { return std::get<String>(Value(TActionProperty::apCaption)); }
    void SetCaption(const String& caption) { SetValue(TActionProperty::apCaption, caption); }
    const String& Hint() const { return std::get<String>(Value(TActionProperty::apHint)); }
    void SetHint(const String& hint) { SetValue(TActionProperty::apHint, hint); }
    bool Enabled() const { return std::get<bool>(Value(TActionProperty::apEnabled)); }
    void SetEnabled(bool on) { SetValue(TActionProperty::apEnabled, on); }
    bool Visible() const { return std::get<bool>(Value(TActionProperty::apVisible)); }
    void SetVisible(bool on) { SetValue(TActionProperty::apVisible, on); }
    // Checking an action of a group (GroupIndex > 0) unchecks the others of its owner's group.
    bool Checked() const { return std::get<bool>(Value(TActionProperty::apChecked)); }
    void SetChecked(bool on);
    int GroupIndex() const { return std::get<int>(Value(TActionProperty::apGroupIndex)); }
    void SetGroupIndex(int index) { SetValue(TActionProperty::apGroupIndex, index); }

    const TActionValue& Value(TActionProperty property) const;
    void SetValue(TActionProperty property, const TActionValue& value);
    // The value a property has in a new action.
    static const TActionValue& DefaultValue(TActionProperty property);

    // Updates first; a disabled action does nothing.
    bool Execute() override;

private:
    std::array<TActionValue, kActionProperties> values_;
};

// A control's end of the link to an action. A kind of control declares which properties it
// links and how it reads and sets them; the link copies them when the action is assigned and
// follows the action's changes.
class TActionLink {
public:
    TActionLink() = default;
    virtual ~TActionLink();
    TActionLink(const TActionLink&) = delete;
    TActionLink& operator=(const TActionLink&) = delete;

    TAction* Action() const { return action_; }
    // Copies the linked properties from the new action; while the action is still being read
    // from a form, only into client properties that are at their defaults.
    void SetAction(TAction* action);
    // Runs the action; false when there is none or it did not run.
    bool Execute();
    bool Update();
    bool IsLinked(TActionProperty property) const;

protected:
    using TGetter = std::function<TActionValue()>;
    using TSetter = std::function<void(const TActionValue&)>;
    void Link(TActionProperty property, TGetter get, TSetter set);

private:
    friend class TAction;
    friend class TBasicAction;
    struct TLinked {
        TGetter get;
        TSetter set;
    };
    // The action changes `property` from `from` to `to`.
    void Changing(TActionProperty property, const TActionValue& from, const TActionValue& to);
    void Detach();

    TAction* action_ = nullptr;
    std::array<TLinked, kActionProperties> linked_;
};

}  // namespace kw
