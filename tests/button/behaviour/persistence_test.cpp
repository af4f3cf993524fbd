// Stored properties: the text form, loading and saving every key, the APPLY button's stored
// data as the program embeds it, and bad stored data.
#include "fake_system.h"
#include "harness.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace butt::test {
namespace {

std::string Resource(const char* name) {
    const HRSRC found = FindResourceA(nullptr, name, MAKEINTRESOURCEA(10)); // RT_RCDATA
    if (!found)
        return {};
    const HGLOBAL loaded = LoadResource(nullptr, found);
    const auto* bytes = static_cast<const char*>(LockResource(loaded));
    return bytes ? std::string(bytes, SizeofResource(nullptr, found)) : std::string();
}

// A small 24-bit bitmap file, all one colour.
std::string BitmapFile(int width, int height) {
    const int stride = (width * 3 + 3) & ~3;
    const int pixels = stride * height;
    std::string file(54 + pixels, '\0');
    auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    file[26] = 1;
    file[28] = 24;
    for (int i = 54; i < static_cast<int>(file.size()); ++i)
        file[i] = static_cast<char>(0x40);
    return file;
}

// A path as the text form writes it: ASCII, backslashes doubled.
std::string Escaped(const std::wstring& path) {
    std::string text;
    for (const wchar_t c : path)
        text += c == L'\\' ? std::string("\\\\") : std::string(1, static_cast<char>(c));
    return text;
}

class PersistenceTest : public ::testing::Test {
  protected:
    PersistenceTest() { SetCursorPos(5, 5); }

    std::unique_ptr<Butt> Load(const PropertyBag& bag, std::string* error = nullptr) {
        return Butt::Load(TheForm().hwnd(), 300, {10, 10, 110, 40}, host, bag, error);
    }
    static PropertyBag Parsed(const std::string& text) {
        std::string error;
        auto bag = PropertyBag::Parse(text, error);
        EXPECT_TRUE(bag) << error;
        return bag ? *bag : PropertyBag();
    }
    static std::string Saved(const Butt& control) {
        PropertyBag bag;
        control.Save(bag);
        return bag.ToText();
    }

    tv::test::FakeSystem system;
    RecordingHost host;
};

TEST_F(PersistenceTest, ApplyButtonLoadsFromTheProgramsResource) {
    const std::string text = Resource("APPLY_BUTTON");
    ASSERT_FALSE(text.empty());
    std::string error;
    const auto bag = PropertyBag::Parse(text, error);
    ASSERT_TRUE(bag) << error;
    host.ambientBack = 0x00FF00FF; // the stored back colour wins over the form's
    const auto apply = Load(*bag, &error);
    ASSERT_TRUE(apply);
    EXPECT_EQ(error, "");

    RECT client{};
    GetClientRect(apply->hWnd(), &client);
    EXPECT_EQ(client.right, 76);
    EXPECT_EQ(client.bottom, 24);
    EXPECT_EQ(apply->Caption(), "APPLY");
    EXPECT_EQ(apply->CaptionAlign(), 2);
    EXPECT_EQ(apply->ButtonStyle(), 2);
    EXPECT_EQ(apply->GradientMode(), 4);
    EXPECT_EQ(apply->GradientColor(), 0x00493328);
    EXPECT_EQ(apply->ForeColor(), 0x00C0C0C0);
    FontDesc verdana;
    verdana.name = "Verdana";
    verdana.size = 8.25f;
    verdana.weight = 700;
    EXPECT_EQ(apply->Font(), verdana);
    EXPECT_EQ(apply->Mode(), 0);
    EXPECT_FALSE(apply->Value());
    EXPECT_EQ(apply->HoverForeColor(), 0x00C0C0C0);
    EXPECT_EQ(apply->BackColor(), 0x00400000);
    EXPECT_EQ(apply->HoverColorLocks(), 1);
    // Absent keys take their read defaults.
    EXPECT_EQ(apply->HoverBackColor(), 0x00400000);
    EXPECT_EQ(apply->ButtonShape(), 0);
    EXPECT_EQ(apply->Picture(), nullptr);
    EXPECT_TRUE(apply->ShowFocusRect());
    EXPECT_TRUE(apply->Enabled());
    EXPECT_EQ(apply->CaptionStyle(), 0);
    EXPECT_EQ(apply->CustomClick(), 0);
    EXPECT_EQ(apply->PictureAlign(), 0);
    EXPECT_EQ(apply->PictureSize(), 0);
    EXPECT_EQ(apply->MousePointer(), 0);
    EXPECT_EQ(apply->MouseIcon(), nullptr);
    EXPECT_FALSE(apply->impl().delayDrawing);

    // Saved again, it is the same data less the one value equal to its write default.
    PropertyBag saved;
    apply->Save(saved);
    for (const std::string& key : bag->Keys()) {
        if (key == "capalign") {
            EXPECT_FALSE(saved.Has(key));
            continue;
        }
        ASSERT_TRUE(saved.Has(key)) << key;
        EXPECT_TRUE(*saved.Find(key) == *bag->Find(key)) << key;
    }
    EXPECT_EQ(saved.Keys().size(), bag->Keys().size() - 1);
}

TEST_F(PersistenceTest, EveryKeySurvivesSavingAndLoading) {
    tv::test::TempFolder folder;
    const std::wstring art = folder / L"face.bmp";
    tv::test::WriteFileBytes(art, BitmapFile(20, 12));
    std::string error;
    const PicturePtr face = Picture::LoadFile(art, error);
    ASSERT_TRUE(face) << error;
    const PicturePtr icon =
        Picture::LoadResource(GetModuleHandleW(nullptr), "TEST_ICON", Picture::Kind::Icon, error);
    ASSERT_TRUE(icon) << error;

    auto original = Butt::Create(TheForm().hwnd(), 301, {10, 10, 110, 40}, host);
    Butt& b = *original;
    b.SetPicture(face);
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
    EXPECT_EQ(b.HoverColorLocks(), 3);
    b.SetShowFocusRect(false);
    b.SetMode(1);
    b.SetValue(true);
    b.SetEnabled(false);
    b.SetMouseIcon(icon);
    b.SetMousePointer(99);
    FontDesc font{"Courier New", 11.5f, 600, true, true, true, 204};
    b.SetFont(font);

    const std::string text = Saved(b);
    const char* order[] = {"_extentx", "_extenty",  "caption",     "capalign", "backstyle",
                           "shape",    "font",      "cfore",       "cfhover",  "cbhover",
                           "focus",    "lockhover", "cgradient",   "gradient", "capstyle",
                           "mode",     "value",     "customclick", "imgalign", "image",
                           "imgsize",  "enabled",   "cback",       "mpointer", "micon"};
    const std::string lines = "\n" + text;
    std::size_t at = 0;
    for (const char* key : order) {
        const std::size_t found = lines.find("\n" + std::string(key) + " = ", at);
        ASSERT_NE(found, std::string::npos) << key << " in\n" << text;
        at = found + 1;
    }
    EXPECT_NE(text.find("image = Picture(file \"" + Escaped(art) + "\")"), std::string::npos)
        << text;
    EXPECT_NE(text.find("micon = Picture(resource icon \"TEST_ICON\")"), std::string::npos);
    EXPECT_NE(text.find("cback = &H80000005"), std::string::npos);
    EXPECT_NE(text.find("imgsize = 48"), std::string::npos);

    original.reset();
    const auto loaded = Load(Parsed(text), &error);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(error, "");
    EXPECT_EQ(Saved(*loaded), text);
    EXPECT_EQ(loaded->Caption(), "Say \"hi\" \\ ||&Next\ttab");
    EXPECT_EQ(loaded->AccessKey(), 'N');
    EXPECT_EQ(loaded->CaptionAlign(), 1);
    EXPECT_EQ(loaded->ButtonShape(), 8);
    EXPECT_EQ(loaded->PictureSize(), 4);
    EXPECT_EQ(loaded->Picture()->kind(), Picture::Kind::Bitmap);
    EXPECT_EQ(loaded->MouseIcon()->kind(), Picture::Kind::Icon);
    EXPECT_EQ(loaded->MousePointer(), 99);
    EXPECT_EQ(loaded->Font(), font);
    EXPECT_EQ(loaded->HoverColorLocks(), 3);
    EXPECT_EQ(loaded->HoverBackColor(), 0x00FEDCBA);
    EXPECT_EQ(loaded->BackColor(), static_cast<Color>(0x80000005));
    EXPECT_TRUE(loaded->Value());
    EXPECT_FALSE(loaded->Enabled());
    EXPECT_FALSE(IsWindowEnabled(loaded->hWnd()));
    EXPECT_FALSE(loaded->ShowFocusRect());
}

TEST_F(PersistenceTest, DefaultsAreNotStoredAndReadBack) {
    host.ambientBack = 0x00336699;
    const auto plain = Load(PropertyBag());
    EXPECT_EQ(plain->BackColor(), 0x00336699); // the form's colour
    EXPECT_EQ(plain->HoverBackColor(), 0x00336699);
    EXPECT_EQ(plain->Caption(), "");
    PropertyBag saved;
    plain->Save(saved);
    EXPECT_EQ(saved.Keys(),
              (std::vector<std::string>{"_extentx", "_extenty", "font", "mode", "value", "cback"}));

    // CaptionAlign 0 is stored and comes back; PictureSize 3 is stored as 40 pixels.
    plain->SetCaptionAlign(0);
    plain->SetPictureSize(3);
    const std::string text = Saved(*plain);
    EXPECT_NE(text.find("capalign = 0\n"), std::string::npos);
    EXPECT_NE(text.find("imgsize = 40\n"), std::string::npos);
    const auto again = Load(Parsed(text));
    EXPECT_EQ(again->CaptionAlign(), 0);
    EXPECT_EQ(again->PictureSize(), 3);
}

TEST_F(PersistenceTest, KeysAnyCaseAndHoverBackDefaultsToTheLoadedBackColour) {
    const auto b = Load(Parsed("CBack = &H00123456\nCAPTION = \"x\"\n"));
    EXPECT_EQ(b->BackColor(), 0x00123456);
    EXPECT_EQ(b->HoverBackColor(), 0x00123456);
    EXPECT_EQ(b->Caption(), "x");
    const auto other = Load(Parsed("cback = 255\ncBHover = &HFF00&\n"));
    EXPECT_EQ(other->HoverBackColor(), 0xFF00);
    PropertyBag saved;
    other->Save(saved);
    EXPECT_TRUE(saved.Has("CBHOVER"));
}

TEST_F(PersistenceTest, TextFormReadsItsWholeGrammar) {
    std::string error;
    const auto bag =
        PropertyBag::Parse("\xEF\xBB\xBF# comment\r\n"
                           "\r\n"
                           "  text = \"a\\\"b\\\\c\\nd\\x41\\t\"   # after a value\r\n"
                           "hex1 = &H8000000F\n"
                           "hex2 = &hff&\n"
                           "hex3 = 0x00493328\n"
                           "neg = -2147483648\n"
                           "single = -8.25\n"
                           "expo = 1.5e2\n"
                           "yes = TRUE\n"
                           "no = false\n"
                           "f1 = Font(\"Arial\", 9, 400)\n"
                           "f2 = Font( \"Arial\" , 9.5 , 700 , charset = 2 , italic = True )\n"
                           "p = Picture( none )\n"
                           "res = Picture(resource bitmap \"TEST_BITMAP\")",
                           error);
    ASSERT_TRUE(bag) << error;
    EXPECT_EQ(std::get<std::string>(*bag->Find("TEXT")), "a\"b\\c\ndA\t");
    EXPECT_EQ(std::get<std::int32_t>(*bag->Find("hex1")), static_cast<std::int32_t>(0x8000000F));
    EXPECT_EQ(std::get<std::int32_t>(*bag->Find("hex2")), 255);
    EXPECT_EQ(std::get<std::int32_t>(*bag->Find("hex3")), 0x00493328);
    EXPECT_EQ(std::get<std::int32_t>(*bag->Find("neg")), INT32_MIN);
    EXPECT_EQ(std::get<float>(*bag->Find("single")), -8.25f);
    EXPECT_EQ(std::get<float>(*bag->Find("expo")), 150.0f);
    EXPECT_TRUE(std::get<bool>(*bag->Find("yes")));
    EXPECT_FALSE(std::get<bool>(*bag->Find("no")));
    EXPECT_EQ(std::get<FontDesc>(*bag->Find("f1")), (FontDesc{"Arial", 9.0f, 400}));
    EXPECT_EQ(std::get<FontDesc>(*bag->Find("f2")),
              (FontDesc{"Arial", 9.5f, 700, true, false, false, 2}));
    EXPECT_EQ(std::get<PicturePtr>(*bag->Find("p")), nullptr);
    EXPECT_EQ(std::get<PicturePtr>(*bag->Find("res"))->kind(), Picture::Kind::Bitmap);

    // Written out and read again: the same values.
    const auto again = PropertyBag::Parse(bag->ToText(), error);
    ASSERT_TRUE(again) << error << "\n" << bag->ToText();
    EXPECT_EQ(again->Keys(), bag->Keys());
    for (const std::string& key : bag->Keys()) {
        if (key == "res")
            EXPECT_EQ(std::get<PicturePtr>(*again->Find(key))->source(), "res:bitmap:TEST_BITMAP");
        else
            EXPECT_TRUE(*again->Find(key) == *bag->Find(key)) << key;
    }

    // A picture made in code from a bare handle has no text form; the text says so.
    PropertyBag made;
    made.Set("image", Picture::FromBitmap(CreateBitmap(2, 2, 1, 32, nullptr)));
    EXPECT_EQ(made.ToText(), "# image: a picture made from a bare handle has no stored form\n");
}

TEST_F(PersistenceTest, MalformedTextNamesTheLineAndKey) {
    const struct {
        const char* text;
        const char* where;
    } cases[] = {
        {"caption = \"APPLY\nmode = 0", "line 1, key \"caption\""},
        {"mode = 0\ncapalign = two", "line 2, key \"capalign\""},
        {"mode = 0\n\n# x\ncback = &HG0", "line 4, key \"cback\""},
        {"cback = &H100000000", "line 1, key \"cback\""},
        {"mode = 99999999999", "line 1, key \"mode\""},
        {"mode 0", "line 1, key \"mode\""},
        {"mode = ", "line 1, key \"mode\""},
        {"mode = 1 2", "line 1, key \"mode\""},
        {"mode = 1\nMODE = 2", "line 2, key \"mode\""},
        {"= 1", "line 1"},
        {"caption = \"bad \\q escape\"", "line 1, key \"caption\""},
        {"font = Font(\"Verdana\", 8.25)", "line 1, key \"font\""},
        {"font = Font(\"Verdana\", 8.25, 700, bold=True)", "line 1, key \"font\""},
        {"font = Font(\"\", 8.25, 700)", "line 1, key \"font\""},
        {"image = Picture(file \"C:\\\\missing\\\\none.bmp\")", "line 1, key \"image\""},
        {"image = Picture(resource bitmap \"NO_SUCH\")", "line 1, key \"image\""},
        {"micon = Picture(resource bitmap \"TEST_BITMAP\")", "line 1, key \"micon\""},
        {"capalign = 7", "line 1, key \"capalign\""},
        {"caption = 5", "line 1, key \"caption\""},
        {"imgsize = 20", "line 1, key \"imgsize\""},
        {"value = \"yes\"", "line 1, key \"value\""},
        {"mode = 0\nvalue = True", "line 2, key \"value\""},
        {"caption = \"x\"\nshape = 7", "line 2, key \"shape\""},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto bag = PropertyBag::Parse(c.text, error);
        EXPECT_FALSE(bag) << c.text;
        EXPECT_EQ(error.rfind(c.where, 0), 0u) << c.text << " gave: " << error;
    }
}

TEST_F(PersistenceTest, GarbageNeverCrashesTheReader) {
    // Lines built from the grammar's own pieces and random bytes, cut at random places.
    const char* pieces[] = {"caption", "=",  "\"",  "\\", "Font(",    "Picture(", "file", ",",
                            ")",       "&H", "0x",  "-",  "8.25",     "True",     "#",    "\n",
                            "mode",    " ",  "\x4", "e",  "resource", "icon",     "\r\n"};
    unsigned seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    int parsed = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const unsigned length = next() % 12;
        for (unsigned i = 0; i < length; ++i)
            text += next() % 4 == 0 ? std::string(1, static_cast<char>(next() % 256))
                                    : pieces[next() % (sizeof pieces / sizeof *pieces)];
        std::string error;
        const auto bag = PropertyBag::Parse(text, error);
        if (bag) {
            ++parsed;
            std::string again;
            EXPECT_TRUE(PropertyBag::Parse(bag->ToText(), again)) << text << ": " << again;
        } else {
            EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
        }
    }
    EXPECT_GT(parsed, 0);
}

TEST_F(PersistenceTest, ABagTheControlCannotTakeLeavesItsDefaults) {
    PropertyBag bag;
    bag.Set("caption", std::string("Half"));
    bag.Set("backstyle", 3);
    bag.Set("cback", 0x0000FF);
    bag.Set("mode", std::string("one")); // wrong kind
    host.ambientBack = 0x00224466;
    std::string error;
    const auto b = Load(bag, &error);
    ASSERT_TRUE(b);
    EXPECT_EQ(error, "key \"mode\": a whole number is expected");
    EXPECT_EQ(b->Caption(), "");
    EXPECT_EQ(b->ButtonStyle(), 0);
    EXPECT_EQ(b->BackColor(), 0x00224466);
    EXPECT_EQ(b->Mode(), 0);
}

} // namespace
} // namespace butt::test
