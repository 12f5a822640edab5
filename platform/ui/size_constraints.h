#pragma once

#include <functional>

#include "platform/core/persistent.h"

namespace kw {

// Lower and upper limits of a control's size; 0 means no limit on that side. The control
// applies them to every new size it is given, whether set directly or by alignment.
class TSizeConstraints : public TPersistent {
    KW_CLASS(TSizeConstraints)
public:
    int MinWidth() const { return minWidth_; }
    int MinHeight() const { return minHeight_; }
    int MaxWidth() const { return maxWidth_; }
    int MaxHeight() const { return maxHeight_; }
    // A negative limit raises EInvalidArgument. A minimum above the maximum raises the maximum
    // with it, a maximum below the minimum lowers the minimum, so the pair stays usable.
    void SetMinWidth(int value);
    void SetMinHeight(int value);
    void SetMaxWidth(int value);
    void SetMaxHeight(int value);

    // The width and height these limits allow, nearest to the ones asked for.
    int ConstrainWidth(int width) const { return Constrain(width, minWidth_, maxWidth_); }
    int ConstrainHeight(int height) const { return Constrain(height, minHeight_, maxHeight_); }

    void Assign(const TPersistent* source) override;
    std::function<void(TSizeConstraints& sender)> OnChange;

    // Publishes MinWidth, MinHeight, MaxWidth and MaxHeight to the form stream (idempotent).
    static void RegisterProperties();

private:
    static int Constrain(int value, int min, int max);
    void SetPair(int& field, int& other, int value, bool isMin);
    void Changed();

    int minWidth_ = 0;
    int minHeight_ = 0;
    int maxWidth_ = 0;
    int maxHeight_ = 0;
};

}  // namespace kw
