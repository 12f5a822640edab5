#pragma once

#include <functional>

#include "platform/graphics/graphic.h"

namespace kw {

class TField;

// The picture data-aware image controls keep in a field: optionally prefixed with the graphic's
// class name, and a bitmap with an 8-byte graphic header.
class TKwPicture : public TPicture {
    KW_CLASS(TKwPicture)
public:
    using TNotify = std::function<void(TKwPicture& sender)>;

    bool AutoDetect() const { return autoDetect_; }
    void SetAutoDetect(bool value) { autoDetect_ = value; }
    // The class read when AutoDetect is off.
    const TClass* GraphicClass() const { return graphicClass_; }
    void SetGraphicClass(const TClass* graphicClass) { graphicClass_ = graphicClass; }

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;

    using TPicture::Assign;
    // A blob field of a dataset: its bytes read as a stream; a null or empty blob clears the
    // picture. Any other field raises EConvertError.
    void Assign(const TField& field);

    TNotify OnPictureChange;

protected:
    void Changed() override;

private:
    const TClass* ReadClass(TStream& stream);
    static void SkipGraphicHeader(TStream& stream);

    bool autoDetect_ = true;
    const TClass* graphicClass_ = nullptr;
};

}  // namespace kw
