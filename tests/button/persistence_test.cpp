// Stored properties: the text form, loading and saving every key, the APPLY button's stored
// data as the program embeds it, and stored data that is malformed or that the control
// cannot take.
#include "harness.h"
#include "temp_folder.h"

#include <clocale>
#include <cmath>
#include <limits>

namespace butt::test {
namespace {

// A path as a bag's text holds it: backslashes doubled.
std::string InBag(const std::string& path) {
    std::string text;
    for (const char c : path)
        text += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return text;
}

class Persistence : public ButtonTest {
  protected:
    std::unique_ptr<Butt> Load(const PropertyBag& bag, std::string* error = nullptr) {
        return Butt::Load(Form(), 300, {10, 10, 110, 40}, host, bag, error);
    }
    // Read with pictures from `folder`: every problem other than an unknown key fails.
    static PropertyBag Parsed(const std::string& text, const std::wstring& folder = {}) {
        BagRead read = PropertyBag::Read(text, BagSources{nullptr, folder});
        EXPECT_TRUE(read.bag) << read.error;
        for (const BagProblem& problem : read.problems)
            EXPECT_TRUE(problem.kept) << problem.Text();
        return read.bag ? *read.bag : PropertyBag();
    }
    static std::string Saved(const Butt& control) {
        PropertyBag bag;
        control.Save(bag);
        return bag.ToText();
    }
};

TEST_F(Persistence, TheApplyButtonLoadsFromTheProgramsResourceAndSavesTheSame) {
    const PropertyBag bag = Parsed(ResourceBytes("APPLY_BUTTON", RT_RCDATA));
    host.ambientBack = 0x00FF00FF; // the stored back colour wins over the form's
    std::string error = "not cleared";
    control = Load(bag, &error);
    ASSERT_TRUE(control);
    EXPECT_EQ(error, "");
    Butt& a = *control;
    RECT client{};
    GetClientRect(a.hWnd(), &client);
    EXPECT_EQ(client.right * 100 + client.bottom, 76 * 100 + 24);
    EXPECT_EQ(a.Caption(), "APPLY");
    EXPECT_EQ(a.Font(), (FontDesc{"Verdana", 8.25f, 700}));
    EXPECT_TRUE(!a.Value() && a.ShowFocusRect() && a.Enabled() && !a.Picture() && !a.MouseIcon());
    EXPECT_FALSE(a.impl().canvas.delayDrawing);

    // Saved again: the same data less the one value equal to its write default.
    PropertyBag saved;
    a.Save(saved);
    PropertyBag expected = bag;
    expected.Remove("capalign");
    EXPECT_EQ(saved.Keys().size(), expected.Keys().size());
    for (const std::string& key : expected.Keys())
        EXPECT_TRUE(saved.Has(key) && *saved.Find(key) == *expected.Find(key)) << key;
}

TEST_F(Persistence, EveryKeySurvivesSavingAndLoadingInItsOrder) {
    tv::test::TempFolder folder;
    const std::wstring art = folder / L"face.bmp";
    tv::test::WriteFileBytes(art, BmpFile(20, 12, [](int, int) { return 0x404040; }));
    std::string error;
    Butt& b = Make();
    b.SetPicture(Picture::LoadFile(art, error));
    ASSERT_TRUE(b.Picture()) << error;
    b.SetButtonShape(8);
    b.SetCustomClick(5);
    b.SetPictureAlign(3);
    b.SetCaption("Say \"hi\" \\ ||&Next\ttab");
    b.SetCaptionAlign(1);
    b.SetCaptionStyle(2);
    b.SetButtonStyle(6);
    b.SetGradientColor(0x00010203);
    b.SetGradientMode(3);
    b.SetForeColor(0x00FFFF00);
    b.SetBackColor(static_cast<Color>(0x80000005));
    b.SetHoverForeColor(0x00ABCDEF);
    b.SetHoverBackColor(0x00FEDCBA);
    b.SetShowFocusRect(false);
    b.SetMode(1);
    b.SetValue(true);
    b.SetEnabled(false);
    b.SetMouseIcon(TestIcon());
    const FontDesc font{"Courier New", 11.5f, 600, true, true, true, 204};
    b.SetFont(font);

    const std::string text = Saved(b);
    // The extent is fitted to the picture: 50 x 30.
    EXPECT_EQ(text, "_extentx = 1323\n_extenty = 794\n"
                    "caption = \"Say \\\"hi\\\" \\\\ ||&Next\\ttab\"\ncapalign = 1\nbackstyle = 6\n"
                    "shape = 8\nfont = Font(\"Courier New\", 11.5, 600, italic=True, "
                    "underline=True, strikethrough=True, charset=204)\ncfore = &H00FFFF00\n"
                    "cfhover = &H00ABCDEF\ncbhover = &H00FEDCBA\nfocus = False\nlockhover = 3\n"
                    "cgradient = &H00010203\ngradient = 3\ncapstyle = 2\nmode = 1\nvalue = True\n"
                    "customclick = 5\nimgalign = 3\nimage = Picture(file \"" +
                        InBag(tv::test::Utf8(art)) +
                        "\")\nimgsize = 48\nenabled = False\ncback = &H80000005\n"
                        "mpointer = 99\nmicon = Picture(resource icon \"TEST_ICON\")\n");

    control.reset();
    control = Load(Parsed(text, folder.path()), &error);
    ASSERT_TRUE(control);
    EXPECT_EQ(error, "");
    EXPECT_EQ(Saved(*control), text);
    EXPECT_TRUE(control->AccessKey() == 'N' && control->Font() == font &&
                control->PictureSize() == 4 && !IsWindowEnabled(control->hWnd()));
    EXPECT_EQ(control->Picture()->kind(), Picture::Kind::Bitmap);
    EXPECT_EQ(control->MouseIcon()->kind(), Picture::Kind::Icon);
}

TEST_F(Persistence, EveryPropertyOfTheRowsLoadsAndSavesBack) {
    // Each stored property at a value other than its default, as its row describes it.
    PropertyBag bag;
    for (const PropertyRow& row : Rows()) {
        const long high = StoredForm(row, row.high);
        const long whole = row.low == row.high    ? row.fallback + 1
                           : high != row.fallback ? high
                                                  : StoredForm(row, row.low);
        const PropertyBag::Value values[] = {
            0,
            std::string("x"),
            static_cast<std::int32_t>(whole),
            static_cast<std::int32_t>(0x00102030 + static_cast<int>(row.id)),
            row.fallback == 0,
            FontDesc{"Arial", 9.0f, 700},
            TestBitmap(),
            TestIcon(),
            static_cast<std::int32_t>(whole)};
        if (row.kind != Kind::None && row.stored != Stored::Host)
            bag.Set(row.key, values[static_cast<std::size_t>(row.kind)]);
    }
    std::string error;
    control = Load(bag, &error);
    EXPECT_EQ(error, "");
    PropertyBag saved;
    control->Save(saved);
    EXPECT_EQ(saved.Keys().size(), bag.Keys().size() + 2) << "and the extents";
    for (const std::string& key : bag.Keys())
        EXPECT_TRUE(saved.Has(key) && *saved.Find(key) == *bag.Find(key)) << key;
}

TEST_F(Persistence, DefaultsAreNotStoredAndTheFormsColourIsRead) {
    host.ambientBack = 0x00336699;
    control = Load(PropertyBag());
    EXPECT_TRUE(control->BackColor() == 0x00336699 && control->HoverBackColor() == 0x00336699);
    EXPECT_TRUE(control->Caption().empty() && control->PictureSize() == 0);
    control->SetCaptionAlign(0);
    control->SetPictureSize(3);
    const std::string text = Saved(*control);
    EXPECT_NE(text.find("capalign = 0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("imgsize = 40\n"), std::string::npos) << text;
    const auto again = Load(Parsed(text));
    EXPECT_TRUE(again->CaptionAlign() == 0 && again->PictureSize() == 3);

    // Keys in any case; the hover colour defaults to the loaded back colour.
    const auto b = Load(Parsed("CBack = &H00123456\nCAPTION = \"x\"\nenabled = 0\nfocus = 0"));
    EXPECT_TRUE(b->BackColor() == 0x00123456 && b->HoverBackColor() == 0x00123456);
    EXPECT_TRUE(b->Caption() == "x" && !b->Enabled() && !b->ShowFocusRect());
}

TEST_F(Persistence, TheTextFormReadsItsWholeGrammarAndWritesWhatItReads) {
    using V = PropertyBag::Value;
    const struct {
        const char* line;
        V value;
    } cases[] = {
        {"  text = \"a\\\"b\\\\c\\nd\\x41\\t\\r\"   # after a value",
         std::string("a\"b\\c\ndA\t\r")},
        {"hex1 = &H8000000F", static_cast<std::int32_t>(0x8000000F)},
        {"hex2 = &hff&", 255},
        {"hex3 = 0x00493328", 0x00493328},
        {"neg = -2147483648", INT32_MIN},
        {"single = -8.25", -8.25f},
        {"expo = 1.5e2", 150.0f},
        {"dot = .5", 0.5f},
        {"yes = TRUE", true},
        {"f1 = Font(\"Arial\", 9, 400)", FontDesc{"Arial", 9.0f, 400}},
        {"f2 = Font( \"Arial\" , 9.5 , 700 , charset = 2 , italic = True , underline=true, "
         "strikethrough=True)",
         FontDesc{"Arial", 9.5f, 700, true, true, true, 2}},
        {"p = Picture( none )", PictureRef{}},
        // A key the control does not read keeps its picture unloaded, as its text names it.
        {"ico = Picture(resource icon \"#1\")", PictureRef{"res:icon:#1", PictureKind::Icon}},
        {"cur = Picture(file \"a\\\\b.CUR\")", PictureRef{"file:a\\b.CUR", PictureKind::Cursor}},
    };
    std::string text = "\xEF\xBB\xBF# comment\r\n\r\n";
    for (const auto& c : cases)
        text += std::string(c.line) + "\r\n";
    text += "res = Picture(resource bitmap \"TEST_BITMAP\")"; // no line end at the end
    const PropertyBag bag = Parsed(text);
    for (const auto& c : cases) {
        const std::string key(c.line, std::string(c.line).find(" ="));
        const V* read = bag.Find(key.substr(key.find_first_not_of(' ')));
        ASSERT_TRUE(read) << c.line;
        EXPECT_TRUE(*read == c.value) << c.line;
    }
    // Written out and read again: the resource picture is named the same (other values: below).
    const PropertyBag again = Parsed(bag.ToText());
    for (const PropertyBag* b : {&bag, &again})
        EXPECT_EQ(std::get<PictureRef>(*b->Find("RES")).source, "res:bitmap:TEST_BITMAP");

    // A picture made in code from a bare handle has no text form; the text says so.
    PropertyBag made;
    made.Set("image", Picture::FromBitmap(CreateBitmap(2, 2, 1, 32, nullptr)));
    EXPECT_EQ(made.ToText(),
              "# \"image\" is not stored: a picture made from a bare handle has no stored form\n");
}

TEST_F(Persistence, MalformedTextNamesTheLineAndKey) {
    using namespace std::string_literals;
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"caption = \"APPLY\nmode = 0", "line 1, key \"caption\": the text has no closing quote"},
        {"mode = 0\ncapalign = two", "line 2, key \"capalign\": \"two\" is not a value"},
        {"mode = 0\n\n# x\ncback = &H1G0", "line 4, key \"cback\": the number has stray"},
        {"cback = &H100000000", "line 1, key \"cback\": the number does not fit in 32 bits"},
        {"mode = 99999999999", "line 1, key \"mode\": \"99999999999\" is not a 32-bit"},
        {"mode 0", "line 1, key \"mode\": \"=\" is expected after the key"},
        {"mode = ", "line 1, key \"mode\": the value is missing"},
        {"mode = 1 2", "line 1, key \"mode\": unexpected text after the value"},
        {"mode = 1\nMODE = 2", "line 2, key \"mode\": the key stands twice"},
        {"= 1", "line 1: a line reads key = value"},
        {"caption = \"bad \\q escape\"", "line 1, key \"caption\": unknown escape \\q"},
        {"font = Font(\"Verdana\", 8.25)", "line 1, key \"font\": Font needs a name, a size"},
        {"font = Font(\"Verdana\", 8, 700, bold=True)", "line 1, key \"font\": Font has no part"},
        {"font = Font(\"V\", 8, 7, italic=yes)", "line 1, key \"font\": True or False is"},
        {"font = Font(\"V\", 8, 7", "line 1, key \"font\": Font needs \")\""},
        {"font = Font(\"\", 8.25, 700)", "line 1, key \"font\": the font name must have 1"},
        {"font = Font(\"V\", 0, 700)", "line 1, key \"font\": the font size must be above 0"},
        {"font = Font(\"V\", 8, 1001)", "line 1, key \"font\": the font weight is 0 to 1000"},
        {"image = Picture(file \"C:\\\\missing\\\\none.bmp\")",
         "line 1, key \"image\": the picture file is not read: no picture folder is allowed"},
        {"image = Picture(resource bitmap \"NO_SUCH\")",
         "line 1, key \"image\": the picture cannot be loaded: there is no bitmap resource"},
        {"image = Picture(url \"X\")", "line 1, key \"image\": a picture is Picture(file"},
        {"image = Picture(file \"a.gif\")", "line 1, key \"image\": a picture file is .bmp, .ico"},
        {"image = Picture(none", "line 1, key \"image\": Picture needs \")\""},
        {"image = 5", "line 1, key \"image\": a picture, Picture(...), is expected"},
        {"micon = Picture(resource bitmap \"TEST_BITMAP\")",
         "line 1, key \"micon\": the mouse icon must be an icon or a cursor"},
        {"capalign = 7", "line 1, key \"capalign\": 7 is outside 0 to 2"},
        {"caption = 5", "line 1, key \"caption\": a text in double quotes is expected"},
        {"imgsize = 20", "line 1, key \"imgsize\": the picture size is 16, 24"},
        {"value = \"yes\"", "line 1, key \"value\": True or False is expected"},
        {"font = 5", "line 1, key \"font\": a font, Font(\"name\", size, weight, ...), is"},
        {"mode = 0\nvalue = True", "line 2, key \"value\": a command button (mode 0) has no"},
        {"caption = \"x\"\nshape = 7", "line 2, key \"shape\": a picture outline needs a bitmap"},
        {"micon = Picture(resource icon \"#65537\")",
         "line 1, key \"micon\": the resource \"#65537\" is neither a name nor #1 to #65535"},
        {"micon = Picture(resource icon \"#x\")", "line 1, key \"micon\": the resource \"#x\" is"},
        {"mode = 1\n\ncaption = \"a\0b\""s,
         "line 3: this is not a property bag: the line holds a NUL"},
        // Hostile text in a message: cut, and what would move or hide the rest escaped.
        {"mpointer = " + std::string(1000, '9'),
         "line 1, key \"mpointer\": \"" + std::string(48, '9') +
             "\"... (1000 bytes) is not a 32-bit whole number"},
        {std::string(100000, 'k') + " = 1 2",
         "line 1, key \"" + std::string(48, 'k') + "\"... (100000 bytes): unexpected text after"},
        {"micon = Picture(resource icon \"\xE2\x80\xAE\x01 \xC2\xA0\\\"\")",
         "line 1, key \"micon\": the picture cannot be loaded: there is no icon resource "
         "\"\\u202E\\x01 \xC2\xA0\\\"\""},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(PropertyBag::Parse(c.text, error)) << c.text.substr(0, 80);
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text.substr(0, 80) << " gave: " << error;
    }
    // The edges of what is taken.
    for (const char* fine :
         {"imgsize = 0", "imgsize = 48", "font = Font(\"V\", 1638, 1000, charset=255)",
          "font = Font(\"V\", 0.5, 0, charset=0)", "mpointer = -32768", "value = 1\nmode = 1",
          "shape = 8\nimage = "
          "Picture(resource bitmap \"TEST_BITMAP\")"}) {
        std::string error;
        EXPECT_TRUE(PropertyBag::Parse(fine, error)) << fine << ": " << error;
    }
}

TEST_F(Persistence, WhatTheControlCannotTakeKeepsItsDefaultAndTheRestLoads) {
    PropertyBag bag;
    bag.Set("caption", std::string("Half"));
    bag.Set("backstyle", 3);
    bag.Set("cback", 0x0000FF);
    bag.Set("mode", std::string("one")); // wrong kind
    bag.Set("backcolour", 5);            // a typo: kept, and reported
    host.ambientBack = 0x00224466;
    std::string error;
    control = Load(bag, &error);
    ASSERT_TRUE(control);
    EXPECT_EQ(error, "key \"mode\": a whole number is expected; key \"backcolour\": the control "
                     "has no such property");
    EXPECT_TRUE(control->Caption() == "Half" && control->Mode() == 0);
    EXPECT_TRUE(control->ButtonStyle() == 3 && control->BackColor() == 0x0000FF);
    bag.Set("mode", 0);
    bag.Set("value", true);
    bag.Remove("backcolour");
    std::vector<BagProblem> problems;
    control = Butt::Load(Form(), 300, {10, 10, 110, 40}, host, bag, problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].Text(), "key \"value\": a command button (mode 0) has no value");
    EXPECT_TRUE(control->Caption() == "Half" && !control->Value());
}

TEST_F(Persistence, ReadingAndLoadingMakeOneListOfProblemsEachWithItsLine) {
    BagRead read = PropertyBag::Read("capalign = 7\ncapalign = 1\ncapalign = 0\nbackcolour = 5\n"
                                     "mode = 1\nvalue = True\n");
    read.bag->Set("mode", 0); // the host's own change: now a command button, with no value
    control = Butt::Load(Form(), 300, {10, 10, 110, 40}, host, *read.bag, read.problems);
    std::string all;
    for (const BagProblem& problem : read.problems)
        all += problem.Text() + "\n";
    EXPECT_EQ(all, "line 1, key \"capalign\": 7 is outside 0 to 2\n"
                   "line 3, key \"capalign\": the key stands twice: its value is read from line 2\n"
                   "line 4, key \"backcolour\": the control has no such property\n"
                   "line 6, key \"value\": a command button (mode 0) has no value\n");
    EXPECT_TRUE(control->CaptionAlign() == 1 && !control->Value());
}

TEST(PictureFilesInBags, OnlyLocalFilesUnderTheAllowedFolderAreOpened) {
    tv::test::TempFolder folder;
    CreateDirectoryW((folder / L"sub").c_str(), nullptr);
    for (const wchar_t* name : {L"face.bmp", L"sub\\face.bmp"})
        tv::test::WriteFileBytes(folder / name, BmpFile(4, 4, [](int, int) { return 0x404040; }));
    const std::string full = tv::test::Utf8(folder / L"sub\\face.bmp");
    const std::string network = "network and device paths are never read";
    const std::string leaves = "the path leaves the picture folder";
    const std::string outside = "only a path relative to the picture folder or a full path under";
    const std::pair<std::string, std::string> cases[] = {
        {"face.bmp", ""},
        {"sub/face.bmp", ""},
        {"sub\\..\\face.bmp", ""},
        {full, ""},
        {"\\\\server\\share\\face.bmp", network},
        {"\\\\?\\UNC\\server\\share\\face.bmp", "it is not a plain file path"},
        {"\\\\.\\PhysicalDrive0.bmp", network},
        {"..\\face.bmp", leaves},
        {"C:\\windows\\win.bmp", leaves},
        {"C:face.bmp", outside},
        {"\\face.bmp", outside},
        {"face.bmp:stream.bmp", outside},
        {"CON.bmp", "\"CON.bmp\" is a device name"},
        {"sub\\nul.bmp", "\"nul.bmp\" is a device name"},
        {"sub.\\face.bmp", "\"sub.\" is a device name"},
    };
    for (const auto& [path, reason] : cases) {
        const BagRead read = PropertyBag::Read("image = Picture(file \"" + InBag(path) + "\")\n",
                                               BagSources{nullptr, folder.path()});
        ASSERT_TRUE(read.bag) << path << ": " << read.error;
        EXPECT_EQ(read.bag->Has("image"), reason.empty()) << path;
        ASSERT_EQ(read.problems.size(), reason.empty() ? 0u : 1u) << path;
        for (const BagProblem& problem : read.problems)
            EXPECT_NE(problem.reason.find(reason), std::string::npos)
                << path << ": " << problem.reason;
    }
    // Links in the folder that lead out of it (made by tests/button/CMakeLists.txt).
    for (const std::string path : {"own.png", "linked.png", "linkdir/p.png"}) {
        const BagRead read = PropertyBag::Read("image = Picture(file \"" + path + "\")\n",
                                               BagSources{nullptr, TV_TEST_PICTURES L"/allowed"});
        EXPECT_EQ(read.problems.empty() ? "" : read.problems[0].reason.substr(30),
                  path == "own.png" ? ""
                                    : "the picture \"" + path.substr(path.find('/') + 1) +
                                          "\" lies outside the picture folder once its "
                                          "links are followed");
    }
}

TEST(BagText, WritingIsTheInverseOfReadingForEveryValueInEveryLocale) {
    using V = PropertyBag::Value;
    // A host under a decimal-comma locale reads the dots that every host writes.
    struct Locale {
        Locale() { std::setlocale(LC_ALL, "German"); }
        ~Locale() { std::setlocale(LC_ALL, "C"); }
    } german;
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    const float inf = std::numeric_limits<float>::infinity();
    const V values[] = {
        std::string("say \"hi\" = \\ \r\n\t||&Next # not a comment"),
        std::string("\xC3\x84rger \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"),
        std::string(),
        std::string("\x01\x7F\xFF"),
        INT32_MIN,
        INT32_MAX,
        std::numeric_limits<float>::max(),
        std::numeric_limits<float>::denorm_min(),
        -0.0f,
        16777217.0f,
        0.1f,
        inf,
        -inf,
        std::numeric_limits<float>::quiet_NaN(),
        true,
        FontDesc{"Name \"with\" = signs", 1638.5f, 1000, true, false, true, 255},
        FontDesc{"\xC3\x9C", 0.25f, 0},
        PictureRef{},
        FontDesc{"Verdana", 8.25f, 700}};
    const auto Key = [](std::size_t i) { return std::string(1, 'k').append(std::to_string(i)); };
    PropertyBag bag;
    for (std::size_t i = 0; i < std::size(values); ++i)
        bag.Set(Key(i), values[i]);
    std::vector<BagProblem> unwritten;
    const std::string text = bag.ToText(&unwritten);
    EXPECT_TRUE(unwritten.empty());
    const BagRead read = PropertyBag::Read(text);
    ASSERT_TRUE(read.bag) << read.error;
    EXPECT_EQ(read.bag->Keys(), bag.Keys());
    for (std::size_t i = 0; i < std::size(values); ++i) {
        const V* again = read.bag->Find(Key(i));
        ASSERT_TRUE(again) << i;
        const float* single = std::get_if<float>(&values[i]);
        if (single && std::isnan(*single))
            EXPECT_TRUE(std::isnan(std::get<float>(*again))) << text;
        else
            EXPECT_TRUE(*again == values[i] && again->index() == values[i].index())
                << "value " << i << " in\n"
                << text;
    }
    EXPECT_TRUE(std::signbit(std::get<float>(*read.bag->Find("k8"))));
}

} // namespace
} // namespace butt::test
