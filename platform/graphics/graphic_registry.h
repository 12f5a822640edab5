#pragma once

#include <memory>
#include <span>
#include <vector>

#include "platform/graphics/graphic.h"

namespace kw {

// The picture loader's registry: which graphic class reads which file extension and which
// clipboard format. Later registrations take precedence over earlier ones.
struct TGraphicFileFormat {
    String Extension;  // without the dot
    String Description;
    const TClass* GraphicClass = nullptr;
};

void RegisterFileFormat(StringView extension, StringView description, const TClass& graphicClass);
void RegisterClipboardFormatClass(Word format, const TClass& graphicClass);
// Forgets every file and clipboard format of the class and of the classes derived from it.
void UnregisterGraphicClass(const TClass& graphicClass);

// "png", ".png" and ".PNG" all find the PNG class; none when nothing is registered.
const TClass* GraphicClassForExtension(StringView extension);
const TClass* GraphicClassForClipboardFormat(Word format);
// The default extension of the class (without the dot): the one registered last for it.
String GraphicExtension(const TClass& graphicClass);
// An open-dialog filter listing the formats of `graphicClass` and its descendants, all of them
// first: "All (*.bmp;*.png)|*.bmp;*.png|Bitmaps (*.bmp)|*.bmp|...".
String GraphicFilter(const TClass& graphicClass);
std::vector<TGraphicFileFormat> GraphicFileFormats();

// How many leading bytes GraphicClassForData looks at.
inline constexpr std::size_t kGraphicSignatureBytes = 48;
// The class whose file signature starts `head`, or none.
const TClass* GraphicClassForData(std::span<const Byte> head);

// A new graphic of a registered or built-in class; raises EInvalidGraphic for a class that is
// not a creatable graphic.
std::unique_ptr<TGraphic> CreateGraphic(const TClass& graphicClass);

// Back to the start-up registrations (tests only).
void ResetGraphicRegistry();

}  // namespace kw
