#include "platform/text/string_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/exception.h"
#include "platform/core/stream.h"
#include "platform/text/strings.h"
#include "platform/text/unicode.h"

namespace kw {
namespace {

std::vector<String> Entries(const TStringList& list) {
    std::vector<String> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list.Strings(i));
    return out;
}

using Lines = std::vector<String>;

class Counted : public TObject {
public:
    explicit Counted(int& destroyed) : destroyed_(destroyed) {}
    ~Counted() override { ++destroyed_; }

private:
    int& destroyed_;
};

TEST(StringList, EditingKeepsStringsAndObjectsTogether) {
    TObject a, b;
    TStringList list;
    list.Add(u"one");
    list.AddObject(u"two", &a);
    list.InsertObject(0, u"zero", &b);
    list.Insert(3, u"three");
    EXPECT_EQ(Entries(list), (Lines{u"zero", u"one", u"two", u"three"}));
    list.Exchange(0, 2);
    EXPECT_EQ(Entries(list), (Lines{u"two", u"one", u"zero", u"three"}));
    EXPECT_EQ(list.Objects(0), &a);
    EXPECT_EQ(list.Objects(2), &b);
    list.Move(0, 3);
    EXPECT_EQ(Entries(list), (Lines{u"one", u"zero", u"three", u"two"}));
    EXPECT_EQ(list.IndexOfObject(&a), 3);
    list.Delete(1);
    list.SetString(0, u"ONE");
    EXPECT_EQ(Entries(list), (Lines{u"ONE", u"three", u"two"}));
    EXPECT_EQ(list.IndexOfObject(&b), -1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, IndexErrorsNameTheIndex) {
    TStringList list;
    list.Add(u"a");
    auto message = [](const auto& action) {
        try {
            action();
        } catch (const EListError& e) {
            return e.Message();
        }
        return String(u"no error");
    };
    EXPECT_EQ(message([&] { list.Strings(1); }), u"List index out of bounds (1)");
    EXPECT_EQ(message([&] { list.Objects(-1); }), u"List index out of bounds (-1)");
    EXPECT_EQ(message([&] { list.Insert(2, u"x"); }), u"List index out of bounds (2)");
    EXPECT_EQ(message([&] { list.Delete(5); }), u"List index out of bounds (5)");
    EXPECT_EQ(message([&] { list.Move(0, 1); }), u"List index out of bounds (1)");
    list.Insert(1, u"end");  // inserting at Count appends
    EXPECT_EQ(list.Strings(1), u"end");
}

TEST(StringList, SearchIgnoresAsciiCaseUnlessCaseSensitive) {
    TStringList list;
    list.SetText(u"Alpha\nbeta\nALPHA");
    EXPECT_EQ(list.IndexOf(u"alpha"), 0);
    EXPECT_EQ(list.IndexOf(u"gamma"), -1);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf(u"ALPHA"), 2);
    EXPECT_EQ(list.IndexOf(u"alpha"), -1);
}

TEST(StringList, SortedListsKeepOrderAndHonourDuplicates) {
    TStringList list;
    list.SetText(u"pear\napple\nfig");
    list.SetSorted(true);
    EXPECT_EQ(Entries(list), (Lines{u"apple", u"fig", u"pear"}));
    EXPECT_EQ(list.Add(u"banana"), 1);
    EXPECT_EQ(list.Add(u"FIG"), 2);  // dupIgnore: the index already there
    EXPECT_EQ(list.Count(), 4);
    int index = -1;
    EXPECT_TRUE(list.Find(u"Pear", index));
    EXPECT_EQ(index, 3);
    EXPECT_FALSE(list.Find(u"cherry", index));
    EXPECT_EQ(index, 2);
    list.SetDuplicates(TDuplicates::dupError);
    EXPECT_THROW(list.Add(u"apple"), EListError);
    list.SetDuplicates(TDuplicates::dupAccept);
    list.Add(u"Apple");
    list.Add(u"APPLE");
    EXPECT_EQ(list.Count(), 6);
    EXPECT_TRUE(list.Find(u"apple", index));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(list.IndexOf(u"pear"), 5);
    EXPECT_THROW(list.Insert(0, u"x"), EListError);
    EXPECT_THROW(list.SetString(0, u"x"), EListError);
    EXPECT_THROW(list.Exchange(0, 1), EListError);
    EXPECT_THROW(list.CustomSort([](const TStringList&, int, int) { return 0; }), EListError);
}

TEST(StringList, SortingAndCaseSensitivityReorder) {
    TStringList list;
    list.SetText(u"b\nB\na\nccc\nA");
    list.Sort();  // stable: equal strings keep their order
    EXPECT_EQ(Entries(list), (Lines{u"a", u"A", u"b", u"B", u"ccc"}));
    list.SetSorted(true);
    list.SetCaseSensitive(true);
    EXPECT_EQ(Entries(list), (Lines{u"A", u"B", u"a", u"b", u"ccc"}));
    list.SetSorted(false);
    list.CustomSort([](const TStringList& l, int a, int b) {
        return static_cast<int>(l.Strings(b).size()) - static_cast<int>(l.Strings(a).size());
    });
    EXPECT_EQ(list.Strings(0), u"ccc");
}

TEST(StringList, NamesAndValues) {
    TStringList list;
    list.SetText(u"Width=10\nplain\nname=a=b\nEmpty=");
    EXPECT_EQ(list.Names(0), u"Width");
    EXPECT_EQ(list.Names(1), u"");
    EXPECT_EQ(list.ValueFromIndex(2), u"a=b");
    EXPECT_EQ(list.Values(u"width"), u"10");
    EXPECT_EQ(list.Values(u"plain"), u"");
    EXPECT_EQ(list.IndexOfName(u"empty"), 3);
    list.SetValue(u"WIDTH", u"20");
    EXPECT_EQ(list.Strings(0), u"WIDTH=20");
    list.SetValue(u"Height", u"5");
    EXPECT_EQ(list.Strings(4), u"Height=5");
    list.SetValue(u"name", u"");
    EXPECT_EQ(list.IndexOfName(u"name"), -1);
    EXPECT_EQ(list.Count(), 4);

    TStringList sorted;
    sorted.SetSorted(true);
    sorted.SetText(u"b=1\na=2");
    sorted.SetValue(u"b", u"3");
    EXPECT_EQ(Entries(sorted), (Lines{u"a=2", u"b=3"}));
}

TEST(StringList, TextJoinsWithCrLfAndSplitsOnAnyLineBreak) {
    TStringList list;
    list.SetText(u"a\r\nb\nc\rd\r\r\ne");
    EXPECT_EQ(Entries(list), (Lines{u"a", u"b", u"c", u"d", u"", u"e"}));
    list.SetText(u"x\r\n");
    EXPECT_EQ(Entries(list), (Lines{u"x"}));
    EXPECT_EQ(list.Text(), u"x\r\n");
    list.SetText(u"\n\n");
    EXPECT_EQ(Entries(list), (Lines{u"", u""}));
    list.SetText(u"");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Text(), u"");
}

TEST(StringList, EventsFireAroundEachChangeAndOnceForAnUpdate) {
    TStringList list;
    String log;
    list.SetOnChanging([&](TStringList& l) { log += u"<" + IntToStr(l.Count()); });
    list.SetOnChange([&](TStringList& l) { log += IntToStr(l.Count()) + u">"; });
    list.Add(u"a");
    EXPECT_EQ(log, u"<01>");
    log.clear();
    list.Clear();
    list.Clear();  // nothing to clear: no events
    EXPECT_EQ(log, u"<10>");
    log.clear();
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add(u"a");
    list.Add(u"b");
    list.EndUpdate();
    list.Add(u"c");
    EXPECT_EQ(log, u"<0");
    list.EndUpdate();
    EXPECT_EQ(log, u"<03>");
    log.clear();
    list.BeginUpdate();
    list.EndUpdate();
    list.SetText(u"x\ny");  // one batch
    EXPECT_EQ(log, u"<32>");
}

TEST(StringList, OwnedObjectsAreFreedWithTheirEntries) {
    int destroyed = 0;
    {
        TStringList list;
        list.SetOwnsObjects(true);
        auto add = [&](const Char* s) {
            list.AddObject(s, std::make_unique<Counted>(destroyed).release());
        };
        add(u"a");
        add(u"b");
        add(u"c");
        add(u"d");
        list.Delete(0);
        EXPECT_EQ(destroyed, 1);
        list.SetObject(0, nullptr);
        EXPECT_EQ(destroyed, 2);
    }
    EXPECT_EQ(destroyed, 4);

    TStringList borrowing;
    Counted kept(destroyed);
    borrowing.AddObject(u"k", &kept);
    borrowing.Clear();
    EXPECT_EQ(destroyed, 4);
}

TEST(StringList, StreamsWriteUtf8WithoutBomAndReadBoms) {
    TStringList list;
    list.SetText(u"caf\u00E9\n\u20AC");
    TMemoryStream stream;
    list.SaveToStream(stream);
    const std::string saved(stream.Bytes().begin(), stream.Bytes().end());
    EXPECT_EQ(saved, "caf\xC3\xA9\r\n\xE2\x82\xAC\r\n");

    auto load = [](std::string_view bytes) {
        TMemoryStream source;
        source.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        source.SetPosition(0);
        TStringList loaded;
        loaded.LoadFromStream(source);
        return Entries(loaded);
    };
    EXPECT_EQ(load("\xEF\xBB\xBFx\ny"), (Lines{u"x", u"y"}));
    EXPECT_EQ(load(std::string_view("\xFF\xFEx\0\n\0\xAC\x20", 8)), (Lines{u"x", u"\u20AC"}));
    EXPECT_EQ(load(std::string_view("\xFE\xFF\0x", 4)), (Lines{u"x"}));
    EXPECT_EQ(load("plain"), (Lines{u"plain"}));

    // A leading U+FEFF is text, not a mark, and must survive a save and a load.
    TStringList marked;
    marked.SetText(u"\uFEFFa\nb");
    TMemoryStream markedStream;
    marked.SaveToStream(markedStream);
    const std::string markedBytes(markedStream.Bytes().begin(), markedStream.Bytes().end());
    EXPECT_EQ(load(markedBytes), (Lines{u"\uFEFFa", u"b"}));
}

TEST(StringList, FilesRoundTrip) {
    const auto path = std::filesystem::temp_directory_path() / "kw_string_list_test.txt";
    const String fileName = Utf8ToString(path.string());
    TStringList list;
    list.SetText(u"first\n\u00FCber");
    list.SaveToFile(fileName);
    TStringList loaded;
    loaded.Add(u"replaced");
    loaded.LoadFromFile(fileName);
    EXPECT_EQ(Entries(loaded), Entries(list));
    std::filesystem::remove(path);
    EXPECT_THROW(loaded.LoadFromFile(fileName), EFOpenError);
}

TEST(StringList, AssignCopiesStringsAndObjectsFromStringListsOnly) {
    TObject object;
    TStringList source;
    source.AddObject(u"a", &object);
    source.Add(u"b");
    TStringList target;
    target.Add(u"old");
    target.Assign(&source);
    EXPECT_EQ(Entries(target), (Lines{u"a", u"b"}));
    EXPECT_EQ(target.Objects(0), &object);
    TPersistent other;
    EXPECT_THROW(target.Assign(&other), EConvertError);
    EXPECT_EQ(target.ClassName(), u"TStringList");
}

}  // namespace
}  // namespace kw
