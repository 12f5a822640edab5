// Style objects against plain data: Assign of a whole title-bar button style (shape, brush, pen,
// image, five state images and five state backgrounds) against copying a struct of the same
// values; and 1,000 text styles written to a form stream and read back against writing and
// reading the same values with the filer directly. "ratio" is the library's time over the
// baseline's.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <vector>

#include "bench/bench_ratio.h"
#include "display/state.h"
#include "drawing/styles/cfg_window_styles.h"
#include "framework/state.h"
#include "platform/core/filer.h"
#include "platform/core/form_stream.h"
#include "platform/core/stream.h"

namespace kw {
namespace {

// The values of a title-bar button style as plain data.
struct TPlainImage {
    int width = 18, height = 18, spacing = 2, id = -1;
    bool stretch = false, transparent = true, visible = true, selShadow = false;
    std::uint8_t layout = 0;
    String pkg;
};
struct TPlainButton {
    bool flat = false;
    std::uint8_t style = 0;
    std::array<String, 5> backgrounds;
    TPlainImage image;
    std::array<String, 5> imagePkgs;
    std::array<int, 5> imageIds{};
    std::uint8_t shape = 0, orientation = 0, borderStyle = 0, brushStyle = 0, penStyle = 0;
    bool reflection = false;
    int borderWidth = 1, penWidth = 1, marginLeftRight = 0, marginTopBottom = 0;
    String brushBackground, penColor;
};

void Fill(TKwCommonWndsButton& button, int variant) {
    const String tag = variant == 0 ? u"Steel" : u"Copper";
    button.SetFlat(variant == 1);
    button.SetStyle(variant == 0 ? btsShape : btsImage);
    for (TKwSetBackGround* set :
         {&button.BGsButton().SetBGUp(), &button.BGsButton().SetBGDown(),
          &button.BGsButton().SetBGOver(), &button.BGsButton().SetBGExclusive(),
          &button.BGsButton().SetBGDisabled()})
        set->SetName(tag + u" face");
    button.Image().SetWidth(16 + variant);
    button.Image().Image().PkgId(u"User", 10 + variant);
    for (TKwMemoryImage* image :
         {&button.ImagesButton().ImageUp(), &button.ImagesButton().ImageDown(),
          &button.ImagesButton().ImageOver(), &button.ImagesButton().ImageExclusive(),
          &button.ImagesButton().ImageDisabled()})
        image->PkgId(u"System", 20 + variant);
    button.Shape().SetShape(variant == 0 ? shaRoundRect : shaEllipse);
    button.Shape().SetBorderWidth(2 + variant);
    button.Shape().Brush().SetBackGround().SetName(tag + u" fill");
    button.Shape().Pen().SetColor().SetName(tag + u" line");
    button.Shape().Pen().SetWidth(1 + variant);
}

TPlainButton Plain(int variant) {
    const String tag = variant == 0 ? u"Steel" : u"Copper";
    TPlainButton plain;
    plain.flat = variant == 1;
    plain.style = static_cast<std::uint8_t>(variant);
    plain.backgrounds.fill(tag + u" face");
    plain.image.width = 16 + variant;
    plain.image.pkg = u"User";
    plain.image.id = 10 + variant;
    plain.imagePkgs.fill(u"System");
    plain.imageIds.fill(20 + variant);
    plain.shape = static_cast<std::uint8_t>(variant == 0 ? shaRoundRect : shaEllipse);
    plain.borderWidth = 2 + variant;
    plain.brushBackground = tag + u" fill";
    plain.penColor = tag + u" line";
    plain.penWidth = 1 + variant;
    return plain;
}

void BM_AssignButtonStyleTree(benchmark::State& state) {
    KwResetFrameworkState();
    KwResetDisplayState();
    bench::RatioTimer timer;
    double changes = 0;
    {
        std::array<TKwCommonWndsButton, 2> sources;
        Fill(sources[0], 0);
        Fill(sources[1], 1);
        TKwCommonWndsButton target;
        target.OnChange = [&](TKwStyleObject&) { ++changes; };
        const std::array<TPlainButton, 2> plains = {Plain(0), Plain(1)};
        TPlainButton plainTarget;
        for (auto _ : state) {
            timer.Library([&] {
                for (int i = 0; i < 100; ++i)
                    target.Assign(&sources[i & 1]);
            });
            timer.Baseline([&] {
                for (int i = 0; i < 100; ++i) {
                    plainTarget = plains[i & 1];
                    benchmark::DoNotOptimize(plainTarget);
                }
            });
        }
        if (!target.Equals(sources[1]))
            changes = 0;
    }
    timer.Report(state, changes, "assigning the button style changed nothing");
    KwResetDisplayState();
}
BENCHMARK(BM_AssignButtonStyleTree)->Unit(benchmark::kMillisecond);

constexpr int kStyles = 1000;

// A component publishing 1,000 text styles, as a form full of labels would.
class TStyleBenchHost : public TComponent {
    KW_CLASS(TStyleBenchHost)
public:
    TStyleBenchHost() : TComponent(nullptr) {
        for (int i = 0; i < kStyles; ++i)
            styles.push_back(std::make_unique<TKwLabelText>(this));
    }
    std::vector<std::unique_ptr<TKwLabelText>> styles;
};
KW_IMPLEMENT_CLASS(TStyleBenchHost, TComponent)

String StyleName(int i) {
    return u"Label" + String(1, static_cast<Char>(u'A' + i % 26)) + u"_" +
           String(1, static_cast<Char>(u'0' + i / 26 % 10)) +
           String(1, static_cast<Char>(u'0' + i / 260));
}

struct TPlainLabel {
    int width = 0, angle = 0;
    bool wordWrap = false;
    String colText;
};

void BM_StreamThousandStyles(benchmark::State& state) {
    KwResetFrameworkState();
    KwResetDisplayState();
    bench::RatioTimer timer;
    double equal = 0;
    {
        for (int i = 0; i < kStyles; ++i) {
            Properties<TStyleBenchHost>().Object(
                StyleName(i), [i](TStyleBenchHost& host) { return host.styles[i].get(); });
        }
        TStyleBenchHost source;
        source.SetName(u"Host");
        std::vector<TPlainLabel> plains(kStyles);
        for (int i = 0; i < kStyles; ++i) {
            TKwLabelText& text = *source.styles[i];
            text.SetWidth(40 + i % 7);
            text.SetAngle(i % 4 * 90);
            text.SetWordWrap(true);
            text.SetColText().SetName(u"Ink " + StyleName(i));
            plains[i] = {text.Width(), text.Angle(), true, text.SetColText().Name()};
        }
        TStyleBenchHost target;
        target.SetName(u"Host");
        std::vector<TPlainLabel> plainTargets(kStyles);
        for (auto _ : state) {
            timer.Library([&] {
                TMemoryStream stream;
                WriteComponent(stream, source);
                stream.SetPosition(0);
                ReadComponent(stream, target);
            });
            timer.Baseline([&] {
                TMemoryStream stream;
                {
                    TWriter writer(stream);
                    for (int i = 0; i < kStyles; ++i) {
                        const String prefix = StyleName(i) + u".";
                        writer.WriteString(prefix + u"Width");
                        writer.WriteInteger(plains[i].width);
                        writer.WriteString(prefix + u"Angle");
                        writer.WriteInteger(plains[i].angle);
                        writer.WriteString(prefix + u"WordWrap");
                        writer.WriteBoolean(plains[i].wordWrap);
                        writer.WriteString(prefix + u"SetColText.Name");
                        writer.WriteString(plains[i].colText);
                    }
                }
                stream.SetPosition(0);
                TReader reader(stream);
                for (TPlainLabel& plain : plainTargets) {
                    reader.ReadString();
                    plain.width = reader.ReadInteger();
                    reader.ReadString();
                    plain.angle = reader.ReadInteger();
                    reader.ReadString();
                    plain.wordWrap = reader.ReadBoolean();
                    reader.ReadString();
                    plain.colText = reader.ReadString();
                }
                benchmark::DoNotOptimize(plainTargets.data());
            });
        }
        for (int i = 0; i < kStyles; ++i)
            equal += target.styles[i]->Equals(*source.styles[i]) ? 1 : 0;
        if (equal < kStyles)
            equal = 0;
    }
    timer.Report(state, equal, "the styles read back differ from those written");
    ResetPropertyRegistry();
    KwResetDisplayState();
}
BENCHMARK(BM_StreamThousandStyles)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kw
