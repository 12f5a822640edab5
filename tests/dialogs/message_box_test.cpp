#include "dialogs/message_box.h"

#include <functional>

#include "../controls/buttons_fixture.h"
#include "controls/bit_btn.h"
#include "dialogs/message_form.h"
#include "drawing/styles/cfg_styles.h"
#include "packages/strings_package.h"
#include "platform/ui/input.h"

namespace kw::test {
namespace {

class MessageBoxTest : public ButtonsTest {
protected:
    // Answers the next box with `answer` after recording what it shows.
    void Answer(std::function<void(TFrMessage&)> answer) {
        Headless().ModalAnswers.push_back([this, answer](TCustomForm& f) {
            auto& box = dynamic_cast<TFrMessage&>(f);
            caption = box.Caption();
            captions.clear();
            for (TKwBitBtn* b : box.Buttons())
                captions.push_back(b->ShownCaption());
            text.clear();
            for (const String& line : box.Lines())
                text += (text.empty() ? u"" : u" ") + line;
            answer(box);
        });
    }
    static std::function<void(TFrMessage&)> Click(TKwButtonKind kind) {
        return [kind](TFrMessage& box) { ClickAt(*box.ButtonOf(kind), {5, 5}); };
    }
    static std::function<void(TFrMessage&)> Key(Word vk) {
        return [vk](TFrMessage&) { KeyPress(vk); };
    }
    String caption;
    std::vector<String> captions;
    String text;
};

TEST_F(MessageBoxTest, TypesAndButtonSetsInTwoLanguages) {
    TKwCApplication app;
    struct Case {
        TKwMessageType type;
        TKwButtonKinds buttons;
        TKwButtonKind chosen;
        String english, german;
        std::vector<String> englishButtons, germanButtons;
    };
    const std::vector<Case> cases = {
        {mtyWarning, {bkiOK}, bkiOK, u"Warning", u"Warnung", {u"OK"}, {u"OK"}},
        {mtyError,
         {bkiAbort, bkiRetry, bkiIgnore},
         bkiRetry,
         u"Error",
         u"Fehler",
         {u"Abort", u"Retry", u"Ignore"},
         {u"Abbruch", u"Wiederholen", u"Ignorieren"}},
        {mtyInformation,
         {bkiOK, bkiCancel},
         bkiCancel,
         u"Information",
         u"Information",
         {u"OK", u"Cancel"},
         {u"OK", u"Abbrechen"}},
        {mtyConfirmation,
         {bkiYes, bkiNo, bkiAll, bkiCancel},
         bkiNo,
         u"Confirmation",
         u"Bestätigung",
         {u"Yes", u"No", u"All", u"Cancel"},
         {u"Ja", u"Nein", u"Alle", u"Abbrechen"}},
    };
    for (const char* language : {"English.lan", "German.lan"}) {
        LoadLanguage(app, language);
        const bool german = language[0] == 'G';
        for (const Case& c : cases) {
            Answer(Click(c.chosen));
            EXPECT_EQ(KwMessage(c.type, u"Go on?", c.buttons, c.buttons.front()), c.chosen);
            EXPECT_EQ(caption, german ? c.german : c.english);
            EXPECT_EQ(captions, german ? c.germanButtons : c.englishButtons);
            EXPECT_EQ(text, u"Go on?");
        }
    }
    // Package messages in the active language, with the closing period and arguments.
    Answer(Click(bkiOK));
    KwMessagePkgArgs(mtyError, u"System", 22, {-5}, {bkiOK}, bkiOK);
    EXPECT_EQ(text, u"Die Kennung -5 ist kleiner als 0.");
    Answer(Click(bkiOK));
    KwMessagePkg(mtyError, u"System", 99, {bkiOK}, bkiOK);
    EXPECT_EQ(text, u"Message Unknown (System) (99).");
}

TEST_F(MessageBoxTest, KeysAndCloseBoxMapToButtons) {
    // Enter presses the default button, Escape the Cancel button.
    Answer(Key(VK_RETURN));
    EXPECT_EQ(KwMessage(mtyConfirmation, u"Save", {bkiYes, bkiNo, bkiCancel}, bkiNo), bkiNo);
    Answer(Key(VK_ESCAPE));
    EXPECT_EQ(KwMessage(mtyConfirmation, u"Save", {bkiYes, bkiCancel, bkiNo}, bkiYes), bkiCancel);
    // Without a Cancel button, Escape and the close box still answer bkiCancel.
    Answer(Key(VK_ESCAPE));
    EXPECT_EQ(KwMessage(mtyWarning, u"Done", {bkiYes, bkiNo}, bkiYes), bkiCancel);
    Answer([](TFrMessage& box) { box.Perform(WM_CLOSE); });
    EXPECT_EQ(KwMessage(mtyWarning, u"Done", {bkiYes, bkiNo}, bkiYes), bkiCancel);
    // A result that is no button's also gives bkiCancel.
    Answer([](TFrMessage& box) { box.SetModalResult(40); });
    EXPECT_EQ(KwMessage(mtyWarning, u"Done", {bkiYes, bkiNo}, bkiYes), bkiCancel);
    // The help button shows the help window and leaves the box open.
    int helpWindows = 0;
    Answer(Click(bkiHelp));
    Headless().ModalAnswers.push_back([&](TCustomForm& f) {
        ++helpWindows;
        EXPECT_NE(dynamic_cast<TFrMessageHlp*>(&f), nullptr);
        KeyPress(VK_RETURN);
    });
    Headless().ModalAnswers.push_back([](TCustomForm& f) {
        ClickAt(*dynamic_cast<TFrMessage&>(f).ButtonOf(bkiOK), {5, 5});
    });
    EXPECT_EQ(
        KwMessageArgs(mtyInformation, u"Read %s", {u"me"}, u"User", 4, {bkiOK, bkiHelp}, bkiOK),
        bkiOK);
    EXPECT_EQ(helpWindows, 1);
    EXPECT_EQ(text, u"Read me.");
}

TEST_F(MessageBoxTest, LayoutWrapsLongTextAndCentresUpToEightButtons) {
    TKwButtonKinds ten(10, bkiOK);
    ten[9] = bkiNo;
    TRect client, textRect;
    std::vector<TRect> bounds;
    Answer([&](TFrMessage& box) {
        client = box.ClientRect();
        textRect = box.TextRect();
        for (TKwBitBtn* b : box.Buttons())
            bounds.push_back(b->BoundsRect());
        KeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(KwMessage(mtyInformation, u"Short", ten, bkiOK), bkiCancel);
    ASSERT_EQ(bounds.size(), 8u);
    const int row = 8 * (75 + 4) - 4;
    EXPECT_EQ(client.Width(), row + 8);
    EXPECT_EQ(bounds.front().Left, 4);
    EXPECT_EQ(bounds.back().Right, client.Width() - 4);
    for (const TRect& b : bounds) {
        EXPECT_EQ(b.Bottom, client.Height() - 4);
        EXPECT_EQ(b.Height(), 25);
    }
    // A text wider than half the monitor wraps at the text area.
    String longText;
    for (int i = 0; i < 80; ++i)
        longText += u"word ";
    std::vector<String> lines;
    Answer([&](TFrMessage& box) {
        lines = box.Lines();
        client = box.ClientRect();
        KeyPress(VK_RETURN);
    });
    KwMessage(mtyInformation, longText, {bkiOK}, bkiOK);
    EXPECT_GT(lines.size(), 1u);
    EXPECT_LE(client.Width(), Screen().PrimaryMonitor().BoundsRect.Width() / 2 + 8);
}

TEST_F(MessageBoxTest, BoxesTakeTheLookTheApplicationConfiguresForMessages) {
    TKwCApplication app;
    app.CfgMessages().SetButtonsWidth(101);
    int width = 0;
    Answer([&](TFrMessage& box) {
        width = box.Buttons().front()->Width();
        KeyPress(VK_RETURN);
    });
    KwMessage(mtyInformation, u"Styled", {bkiOK}, bkiOK);
    EXPECT_EQ(width, 101);
}

}  // namespace
}  // namespace kw::test
