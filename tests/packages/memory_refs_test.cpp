#include "packages/memory_refs.h"

#include <map>

#include "packages/package_scopes.h"
#include "packages/packages_fixture.h"
#include "platform/core/filer.h"

namespace kw {
namespace {

class MemoryRefsTest : public PackagesTest {
protected:
    void SetUp() override {
        PackagesTest::SetUp();
        TKwPkgLanguage& language = StartApplication();
        system_ = &language.SystemStrings();
    }
    TKwPkgStrings* system_ = nullptr;
};

TEST_F(MemoryRefsTest, DefinedOnlyWithANameAndAnIdOrThroughTheDefault) {
    TKwMemoryLabel plain;
    EXPECT_FALSE(plain.Defined());
    plain.SetPkgName(u"  ");
    plain.SetId(4);
    EXPECT_FALSE(plain.Defined());
    TKwMemoryLabel withDefault(u"System", 28, false);
    EXPECT_FALSE(withDefault.Defined());  // id -1: the control keeps its own caption
    TKwMemoryLabel builtIn(u"System", 28, true);
    EXPECT_TRUE(builtIn.Defined());
    EXPECT_EQ(builtIn.Id(), -2);
    EXPECT_EQ(builtIn.Text(), u"");  // the label is missing
    system_->Labels().Add(28, u"Caption", u"Tip");
    EXPECT_EQ(builtIn.Text(), u"Caption");
    EXPECT_EQ(builtIn.Hint(), u"Tip");
    app_.reset();
    EXPECT_FALSE(builtIn.Defined());
    EXPECT_EQ(builtIn.Info(), nullptr);
}

TEST_F(MemoryRefsTest, TheDefaultServesWhileTheExplicitChoiceIsIncomplete) {
    system_->Messages().Add(1, u"default");
    system_->Messages().Add(2, u"chosen");
    TKwMemoryMessage ref(u"System", 1, true);
    EXPECT_EQ(ref.Text(), u"default");
    ref.SetId(2);  // a name is still missing
    EXPECT_EQ(ref.Text(), u"default");
    ref.SetPkgName(u"system");
    EXPECT_EQ(ref.Text(), u"chosen");
}

TEST_F(MemoryRefsTest, SettersNotifyOnlyRealChanges) {
    TKwMemoryText ref;
    TChangeCounter changes;
    changes.Watch(ref);
    ref.PkgId(u"System", 1);
    ref.PkgId(u"System", 1);
    ref.SetPkgName(u"SYSTEM");  // letter case alone: assigned silently
    EXPECT_EQ(ref.PkgName(), u"SYSTEM");
    ref.SetId(1);
    EXPECT_EQ(changes.count, 1);
    ref.DefaultPkgId(u"User", 3);
    EXPECT_EQ(changes.count, 2);
    EXPECT_EQ(ref.Id(), -2);
    EXPECT_TRUE(ref.Default());
}

TEST_F(MemoryRefsTest, DeletingReaddingAndRenumberingALabelNotifyItsReferences) {
    system_->Labels().Add(10, u"Old", u"");
    TKwMemoryLabel shown;
    TKwMemoryLabel other;
    shown.PkgId(u"System", 10);
    other.PkgId(u"System", 11);
    TChangeCounter shownChanges, otherChanges;
    shownChanges.Watch(shown);
    otherChanges.Watch(other);
    EXPECT_EQ(shown.Text(), u"Old");
    EXPECT_EQ(other.Text(), u"");

    system_->Labels().Delete(0);
    EXPECT_EQ(shownChanges.count, 1);
    EXPECT_EQ(shown.Text(), u"");
    EXPECT_EQ(otherChanges.count, 0);

    system_->Labels().Add(10, u"New", u"");
    EXPECT_EQ(shownChanges.count, 2);
    EXPECT_EQ(shown.Text(), u"New");
    system_->Labels().Add(11, u"Late", u"");
    EXPECT_EQ(otherChanges.count, 1);
    EXPECT_EQ(other.Text(), u"Late");

    system_->Labels().FindId(10)->SetText(u"New");  // unchanged text
    system_->Labels().FindId(10)->SetHint(u"tip");
    EXPECT_EQ(shownChanges.count, 3);
    EXPECT_EQ(otherChanges.count, 1);

    // A new id moves the label from the references of the old id to those of the new.
    TKwMemoryLabel later;
    later.PkgId(u"System", 12);
    ASSERT_EQ(later.Text(), u"");
    TChangeCounter laterChanges;
    laterChanges.Watch(later);
    system_->Labels().FindId(10)->SetId(12);
    EXPECT_EQ(shown.Text(), u"");
    EXPECT_EQ(later.Text(), u"New");
    EXPECT_EQ(shownChanges.count, 4);
    EXPECT_EQ(laterChanges.count, 1);
    EXPECT_EQ(system_->Labels().FindId(10), nullptr);
}

TEST_F(MemoryRefsTest, ClearingAPackageLeavesNoReferenceOnAFreedItem) {
    system_->Texts().Add(1, u"text");
    TKwMemoryText ref;
    ref.PkgId(u"System", 1);
    EXPECT_EQ(ref.Text(), u"text");
    TChangeCounter changes;
    changes.Watch(ref);
    system_->Clear();
    EXPECT_EQ(changes.count, 1);
    EXPECT_FALSE(ref.Checked() && ref.Info() != nullptr);
    EXPECT_EQ(ref.Text(), u"");
}

TEST_F(MemoryRefsTest, AssignCopiesChoiceButNotDefaults) {
    system_->Labels().Add(3, u"three", u"");
    TKwMemoryLabel source(u"System", 3, true);
    TKwMemoryLabel target(u"User", 9, false);
    TChangeCounter changes;
    changes.Watch(target);
    target.Assign(&source);
    EXPECT_EQ(target.Id(), -2);
    EXPECT_EQ(target.DefaultId(), 9);
    EXPECT_EQ(target.Text(), u"");  // -2 with the target's own default: User 9
    EXPECT_EQ(changes.count, 1);
    target.Assign(&source);
    EXPECT_EQ(changes.count, 1);
    EXPECT_TRUE(KwIsMemoryLabelEqualTo(source, target));
    TKwMemoryMessage message;
    EXPECT_THROW(target.Assign(&message), EConvertError);
}

// Records which defined properties a reference asks to store, and plays back reads.
class RecordingFiler : public TFiler {
public:
    explicit RecordingFiler(TStream& stream) : TFiler(stream, 16) {}
    void DefineProperty(StringView name, TReaderProc read, TWriterProc write,
                        bool hasData) override {
        stored[String(name)] = hasData;
        readers[String(name)] = std::move(read);
    }
    std::map<String, bool> stored;
    std::map<String, TReaderProc> readers;
};

std::map<String, bool> StoredBy(TKwMemoryReference& ref, TPersistent* ancestor) {
    TMemoryStream stream;
    RecordingFiler filer(stream);
    filer.SetAncestor(ancestor);
    ref.DefineProperties(filer);
    return filer.stored;
}

TEST_F(MemoryRefsTest, FormStorageWritesOnlyWhatDiffers) {
    using Stored = std::map<String, bool>;
    TKwMemoryLabel plain;
    EXPECT_EQ(StoredBy(plain, nullptr), (Stored{{u"PkgName", false}, {u"Id", false}}));
    TKwMemoryLabel builtIn(u"System", 4, true);
    EXPECT_EQ(StoredBy(builtIn, nullptr), (Stored{{u"PkgName", false}, {u"Id", false}}));
    builtIn.SetId(-1);
    EXPECT_EQ(StoredBy(builtIn, nullptr), (Stored{{u"PkgName", false}, {u"Id", true}}));
    plain.PkgId(u"User", 0);
    EXPECT_EQ(StoredBy(plain, nullptr), (Stored{{u"PkgName", true}, {u"Id", true}}));

    TKwMemoryLabel ancestor;
    ancestor.PkgId(u"User", 5);
    EXPECT_EQ(StoredBy(plain, &ancestor), (Stored{{u"PkgName", false}, {u"Id", true}}));
    TKwMemoryText otherKind;
    EXPECT_EQ(StoredBy(plain, &otherKind), (Stored{{u"PkgName", true}, {u"Id", true}}));

    TMemoryStream values;
    {
        TWriter writer(values);
        writer.WriteString(u"Main");
        writer.WriteInteger(12);
    }
    RecordingFiler filer(values);
    plain.DefineProperties(filer);
    values.SetPosition(0);
    TReader reader(values);
    filer.readers[u"PkgName"](reader);
    filer.readers[u"Id"](reader);
    EXPECT_EQ(plain.PkgName(), u"Main");
    EXPECT_EQ(plain.Id(), 12);
}

// A control stand-in: a link that counts its repaints.
struct FakeControl {
    TComponent owner;
    TKwLinkEvt link{&owner, kwInitControl};
    int repaints = 0;
    bool repaintedInBatch = true;
    FakeControl() {
        link.Init();
        link.OnUpdate = [this](TKwLinkEvt&) {
            ++repaints;
            repaintedInBatch = repaintedInBatch && KwScreen().Applying();
        };
    }
};

std::vector<std::uint8_t> LanguageFile(const String& prefix, int labels) {
    TKwPkgLanguage language;
    TKwLoadingScope building(language);
    for (int id = 0; id < labels; ++id)
        language.SystemStrings().Labels().Add(id, prefix + IntToStr(id), u"");
    return SavedBytes(language);
}

TEST_F(MemoryRefsTest, ALanguageSwitchNotifiesEachReferenceOnceAndRepaintsOnce) {
    constexpr int kLabels = 1000;
    constexpr int kRefs = 10000;
    const std::vector<std::uint8_t> english = LanguageFile(u"en ", kLabels);
    // The second language lacks the last label.
    const std::vector<std::uint8_t> spanish = LanguageFile(u"es ", kLabels - 1);
    TKwPkgLanguage& language = *KwAppLanguage();
    LoadBytes(language, english);

    std::vector<std::unique_ptr<FakeControl>> controls(100);
    for (auto& control : controls)
        control = std::make_unique<FakeControl>();
    std::vector<std::unique_ptr<TKwMemoryLabel>> refs;
    std::vector<int> notified(kRefs, 0);
    for (int i = 0; i < kRefs; ++i) {
        refs.push_back(std::make_unique<TKwMemoryLabel>());
        // Every hundredth reference waits for a label neither language has.
        refs.back()->PkgId(u"System", i % 100 == 99 ? 5000 : i % kLabels);
        FakeControl& control = *controls[static_cast<size_t>(i / 100)];
        refs.back()->OnChange = [&notified, &control, i](TKwMemoryReference&) {
            ++notified[static_cast<size_t>(i)];
            control.link.Change();
        };
        refs.back()->Text();
    }

    LoadBytes(language, spanish);

    for (int i = 0; i < kRefs; ++i) {
        const bool resolves = i % 100 != 99;
        ASSERT_EQ(notified[static_cast<size_t>(i)], resolves ? 1 : 0) << "reference " << i;
    }
    for (const auto& control : controls) {
        EXPECT_EQ(control->repaints, 1);
        EXPECT_TRUE(control->repaintedInBatch);
    }
    EXPECT_EQ(refs[1]->Text(), u"es 1");
    EXPECT_EQ(refs[kLabels - 1]->Text(), u"");
    EXPECT_TRUE(KwScreen().Update());
}

}  // namespace
}  // namespace kw
