#pragma once

#include "platform/core/types.h"

namespace kw {

class TClass;
class TGraphic;
class TStringList;

// The library's map of graphic classes to file extensions and descriptions. It decides which
// class decodes an image's native bytes; lookups fill it with the start-up entries first.
void KwRegisterFormatGraphic(StringView extension, StringView description,
                             const TClass& graphicClass);
void KwUnRegisterFormatGraphic(const TClass& graphicClass);
// By class name ("TPngImage"), without regard to case.
const TClass* KwFindGraphicClass(StringView name);
// " .PNG", "png" and ".png" all find the PNG class.
const TClass* KwFindGraphicFileExt(StringView ext);
String KwFindGraphicDescription(const TClass& graphicClass);
// The default file extension of the class, as the picture loader knows it.
String KwGraphicExtension(const TClass& graphicClass);
// Each distinct class name once, in registry order.
void KwFormatGraphics(TStringList& list);

enum class TKwQualityGraphic { qugHigh, qugMiddle, qugLow, qugVeryLow };
// Sets the decoding scale of a JPEG image; other graphics are untouched.
void SetGraphicQuality(TGraphic& graphic, TKwQualityGraphic quality);

// The start-up registrations: the format entries, the image file with the picture loader and
// the "KW_IMAGE" clipboard format. Runs once until the display state is reset.
void RegisterFormatGraphics();
// The number of the "KW_IMAGE" clipboard format.
Word KwImageClipboardFormat();
// Withdraws the image file class from the picture loader.
void UnRegisterFormatGraphics();

}  // namespace kw
