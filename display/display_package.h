#pragma once

#include <algorithm>
#include <memory>

#include "display/display_sets.h"
#include "framework/pkg_info.h"

namespace kw {

class TKwCApplication;
class TKwPkgImages;
class TStringList;

// The skin: named colour, font and background sets, the "System" and "User" image packages, the
// user's custom colours, and the frame geometry of the library's own windows and hint windows.
class TKwPkgDisplay : public TKwPkgInfo {
    KW_CLASS(TKwPkgDisplay)
public:
    explicit TKwPkgDisplay(TComponent* owner = nullptr);
    ~TKwPkgDisplay() override;

    // One colour per line, in whatever form the colour pickers store; changes call Change.
    TStringList& UserColors() const { return *userColors_; }
    TKwPkgDisplaySetsFont& SetsFont() const { return *setsFont_; }
    TKwPkgDisplaySetsBackGround& SetsBackGround() const { return *setsBackGround_; }
    TKwPkgDisplaySetsColor& SetsColor() const { return *setsColor_; }
    TKwPkgImages& SystemImages() const { return *systemImages_; }
    TKwPkgImages& UserImages() const { return *userImages_; }

    // Date and name of the display file last merged into the System images; 0 and empty when
    // none.
    double UpdateDateTime() const { return updateDateTime_; }
    void SetUpdateDateTime(double value) { updateDateTime_ = value; }
    const String& LastUpdateFile() const { return lastUpdateFile_; }
    void SetLastUpdateFile(const String& name) { lastUpdateFile_ = name; }

    // Frame of the library's own windows. Margins and title height store negative values as 0;
    // a change tells every form and control (event 44) and marks the package modified.
    int CWMarginLeft() const { return cwMarginLeft_; }
    void SetCWMarginLeft(int value) { SetFrameValue(cwMarginLeft_, std::max(value, 0)); }
    int CWMarginTop() const { return cwMarginTop_; }
    void SetCWMarginTop(int value) { SetFrameValue(cwMarginTop_, std::max(value, 0)); }
    int CWMarginRight() const { return cwMarginRight_; }
    void SetCWMarginRight(int value) { SetFrameValue(cwMarginRight_, std::max(value, 0)); }
    int CWMarginBottom() const { return cwMarginBottom_; }
    void SetCWMarginBottom(int value) { SetFrameValue(cwMarginBottom_, std::max(value, 0)); }
    int CWMarginAfterTitle() const { return cwMarginAfterTitle_; }
    void SetCWMarginAfterTitle(int value) {
        SetFrameValue(cwMarginAfterTitle_, std::max(value, 0));
    }
    int CWTitleHeight() const { return cwTitleHeight_; }
    void SetCWTitleHeight(int value) { SetFrameValue(cwTitleHeight_, std::max(value, 0)); }
    int CWButtonsWidth() const { return cwButtonsWidth_; }
    void SetCWButtonsWidth(int value) { SetFrameValue(cwButtonsWidth_, value); }
    int CWButtonsHeight() const { return cwButtonsHeight_; }
    void SetCWButtonsHeight(int value) { SetFrameValue(cwButtonsHeight_, value); }
    int CWButtonsSpacing() const { return cwButtonsSpacing_; }
    void SetCWButtonsSpacing(int value) { SetFrameValue(cwButtonsSpacing_, value); }
    int CWButtonsMargin() const { return cwButtonsMargin_; }
    void SetCWButtonsMargin(int value) { SetFrameValue(cwButtonsMargin_, value); }
    bool CWWinRgn() const { return cwWinRgn_; }
    void SetCWWinRgn(bool value) { SetFrameValue(cwWinRgn_, value); }

    // Frame of hint windows; stored as given, without marking the package modified.
    int HiMarginLeft() const { return hiMarginLeft_; }
    void SetHiMarginLeft(int value) { SetHintValue(hiMarginLeft_, value); }
    int HiMarginTop() const { return hiMarginTop_; }
    void SetHiMarginTop(int value) { SetHintValue(hiMarginTop_, value); }
    int HiMarginRight() const { return hiMarginRight_; }
    void SetHiMarginRight(int value) { SetHintValue(hiMarginRight_, value); }
    int HiMarginBottom() const { return hiMarginBottom_; }
    void SetHiMarginBottom(int value) { SetHintValue(hiMarginBottom_, value); }
    bool HiWinRgn() const { return hiWinRgn_; }
    void SetHiWinRgn(bool value) { SetHintValue(hiWinRgn_, value); }

    // The package counts as modified when either image package is.
    bool GetModified() const override;
    void SetModified(bool modified) override;
    void Clear() override;
    // Sets whose description follows a label take that label's text, telling nobody.
    void LoadPkgStrings();

    // The layout version and screen density of the stream last loaded; 0 before any load.
    int LoadedVersion() const { return loadedVersion_; }
    int LoadedPixelsPerInch() const { return loadedPixelsPerInch_; }

protected:
    void NotifyInit(TKwLinkEvt& sender) override;
    void xLoadFromStream(TReader& reader) override;
    void xSaveToStream(TWriter& writer) override;

private:
    template <class T>
    void SetFrameValue(T& field, T value);
    template <class T>
    void SetHintValue(T& field, T value);
    void UnCheckAllReferences();
    void UnCheckNilAndUpdateAll();
    void ScaleDefaultFontOnce();
    void ReadContents(TReader& reader, int version);
    void ReadColorSets(TReader& reader);
    void ReadFontSets(TReader& reader, int version, int filePixelsPerInch);
    void ReadBackGroundSets(TReader& reader);
    void ReadTrailer(TReader& reader, int version);

    // Declared so that the sets go before the images their backgrounds may show.
    std::unique_ptr<TKwPkgImages> systemImages_;
    std::unique_ptr<TKwPkgImages> userImages_;
    std::unique_ptr<TStringList> userColors_;
    std::unique_ptr<TKwPkgDisplaySetsFont> setsFont_;
    std::unique_ptr<TKwPkgDisplaySetsBackGround> setsBackGround_;
    std::unique_ptr<TKwPkgDisplaySetsColor> setsColor_;
    double updateDateTime_ = 0;
    String lastUpdateFile_;
    int cwMarginLeft_ = 2;
    int cwMarginTop_ = 2;
    int cwMarginRight_ = 2;
    int cwMarginBottom_ = 2;
    int cwMarginAfterTitle_ = 2;
    int cwTitleHeight_ = 28;
    int cwButtonsWidth_ = 16;
    int cwButtonsHeight_ = 16;
    int cwButtonsSpacing_ = 2;
    int cwButtonsMargin_ = 2;
    bool cwWinRgn_ = false;
    int hiMarginTop_ = 2;
    int hiMarginBottom_ = 2;
    int hiMarginLeft_ = 2;
    int hiMarginRight_ = 2;
    bool hiWinRgn_ = false;
    int loadedVersion_ = 0;
    int loadedPixelsPerInch_ = 0;
};

// The display package of an application object: the first TKwPkgDisplay among the components
// it owns, or none. Every lookup of "the application object's display package" goes through it.
TKwPkgDisplay* KwAppDisplay(TKwCApplication& app);

}  // namespace kw
