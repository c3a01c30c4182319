// Layout records: round trips of every record kind, the fixed bytes of a minimal GWND, truncated streams,
// unknown tags, text buttons and screens loaded from streams.
#include "tests/gui/GuiFixture.h"

#include "gui/GUI_Button.h"
#include "gui/GUI_Interface.h"
#include "gui/GUI_Label.h"
#include "gui/GUI_Picture.h"
#include "gui/GUI_TextButton.h"
#include "gui/LayoutRecords.h"

#include <memory>

namespace {

using guitest::GuiFixture;

class LayoutRecordsTest : public GuiFixture {};

std::vector<std::uint8_t> Saved(const GUI_Window& window)
{
    RecordWriter writer;
    EXPECT_TRUE(window.Save(writer));
    EXPECT_TRUE(writer.IsComplete());
    return writer.Bytes();
}

std::unique_ptr<GUI_Window> Loaded(const std::vector<std::uint8_t>& bytes)
{
    RecordCursor cursor(bytes.data(), bytes.size());
    RecordChunk chunk;
    if (!cursor.ReadChunk(chunk))
        return nullptr;
    std::unique_ptr<GUI_Window> window = CreateWindowForTag(chunk.tag);
    if (!window || !window->Load(chunk.payload, chunk.size, chunk.VersionTenths()))
        return nullptr;
    return window;
}

// A tree holding every record kind with fields away from their defaults.
std::unique_ptr<GUI_Window> BuildTree()
{
    auto root = std::make_unique<GUI_Window>(GUI_KIND_WINDOW);
    root->SetName(u"root");
    root->SetRect(1, 2, 300, 200, true);
    root->SetBorderMode(BORDER_FRAME);
    root->SetFrameInset(3, 4);
    root->SetBorderColour({10, 20, 30, 40});
    root->m_HorizontalAnchor = 2;
    root->m_VerticalAnchor = 3;
    root->m_bStretchVertically = false;
    root->m_SecondColour = {5, 6, 7, 8};

    auto* label = new GUI_Label();
    label->SetName(u"label");
    label->SetRect(10, 10, 100, 30, true);
    label->SetFont(7);
    label->SetAlignment(2, 0);
    label->SetMargins(1, 2, 3, 4);
    label->SetShadow(true);
    label->SetTextID(u"STR_TITLE");
    root->AddChild(label);

    auto* picture = new GUI_Picture();
    picture->SetName(u"picture");
    picture->SetRect(20, 20, 60, 60, true);
    picture->m_HorizontalAlignment = 2;
    picture->m_bImageStretchV = false;
    picture->SetImage(u"art.bmp", false);
    root->AddChild(picture);

    auto* button = new GUI_Button();
    button->SetName(u"button");
    button->SetRect(30, 30, 90, 50, true);
    button->SetClickEffect(30);
    button->SetUpImage(u"up.bmp", false);
    button->GetLook(LOOK_DISABLED).frame = {9, 8, 7, 6};
    button->GetLook(LOOK_DOWN).alignH = 2;
    button->m_HitMaskAlignV = 0;
    root->AddChild(button);

    auto* textButton = new GUI_TextButton();
    textButton->SetName(u"text");
    textButton->SetRect(40, 40, 120, 60, true);
    textButton->SetTextID(u"STR_OK");
    textButton->SetPressedTextColour(1, 1, 1, 1);
    auto* inner = new GUI_Window(41, 41, 42, 42);
    inner->SetName(u"inner");
    textButton->AddChild(inner);
    root->AddChild(textButton);
    return root;
}

TEST_F(LayoutRecordsTest, ATreeOfEveryKindSavesAndLoadsBackEqual)
{
    const std::unique_ptr<GUI_Window> tree = BuildTree();
    const std::vector<std::uint8_t> bytes = Saved(*tree);
    const std::unique_ptr<GUI_Window> back = Loaded(bytes);
    ASSERT_NE(back, nullptr);
    // Saving what was loaded gives the same bytes: every field came back.
    EXPECT_EQ(Saved(*back), bytes);
    EXPECT_EQ(back->GetChildren().size(), 4u);
    auto* label = WindowCast<GUI_Label>(back->FindChild(u"label"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetFont(), 7);
    EXPECT_EQ(label->GetTextID(), u"STR_TITLE");
    auto* textButton = WindowCast<GUI_TextButton>(back->FindChild(u"TEXT"));
    ASSERT_NE(textButton, nullptr);
    // The text button's child comes back once, not once per embedded window copy.
    EXPECT_EQ(textButton->GetChildren().size(), 1u);
    EXPECT_EQ(WindowCast<GUI_Button>(back->FindChild(u"picture")), nullptr);
    EXPECT_EQ(back->FindChild(u"button")->GetKind(), GUI_KIND_BUTTON);
    // Saved and loaded twice: still one child.
    const std::unique_ptr<GUI_Window> again = Loaded(Saved(*back));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->FindChild(u"text")->GetChildren().size(), 1u);
}

TEST_F(LayoutRecordsTest, AMinimalWindowRecordHasFixedBytes)
{
    GUI_Window window(GUI_KIND_WINDOW);
    const std::vector<std::uint8_t> expected = {
        'G', 'W', 'N', 'D', 'V', '1', '.', '3', 84, 0, 0, 0,  // tag, version, payload size
        0, 0,                                                  // name
        0, 0, 0, 0,                                            // kind
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,        // rectangle
        0, 0,                                                  // transparent, hidden
        1, 0, 0, 0,                                            // border mode
        1, 0, 0, 0, 1, 0, 0, 0,                                // frame insets
        255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0,  // border colour
        0,                                                     // border alpha
        0, 0,                                                  // skin
        1,                                                     // draw background
        0, 0,                                                  // background image
        255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0,  // second colour
        0, 1, 1,                                               // background alpha, anchor, stretch
        0, 0, 0, 0,                                            // children
        0, 1, 1,                                               // language folder, stretch v, anchor v
    };
    EXPECT_EQ(Saved(window), expected);
    const std::unique_ptr<GUI_Window> back = Loaded(expected);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetBorderMode(), BORDER_SKIN);
}

TEST_F(LayoutRecordsTest, VersionOneZeroWindowsCopyTheirAnchorsAndEmptyChunksFail)
{
    RecordWriter writer;
    writer.BeginRecord(TAG_GWND, 10);
    writer.WriteString(u"old");
    writer.WriteU32(0);
    for (int i = 0; i < 4; ++i)
        writer.WriteI32(i * 10);
    writer.WriteBool(false);
    writer.WriteBool(false);
    writer.WriteU32(0);
    writer.WriteI32(1);
    writer.WriteI32(1);
    for (int i = 0; i < 4; ++i)
        writer.WriteU32(255);
    writer.WriteBool(false);
    writer.WriteString(u"");
    writer.WriteBool(true);
    writer.WriteString(u"");
    for (int i = 0; i < 4; ++i)
        writer.WriteU32(255);
    writer.WriteBool(false);
    writer.WriteU8(3);      // horizontal anchor
    writer.WriteBool(false);  // stretch horizontally
    writer.WriteU32(0);
    writer.EndRecord();
    const std::unique_ptr<GUI_Window> window = Loaded(writer.Bytes());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->m_VerticalAnchor, 3);
    EXPECT_FALSE(window->m_bStretchVertically);
    EXPECT_EQ(window->GetRight(), 20);

    const std::vector<std::uint8_t> empty = {'G', 'W', 'N', 'D', 'V', '1', '.', '3', 0, 0, 0, 0};
    EXPECT_EQ(Loaded(empty), nullptr);
    RecordCursor cursor(empty.data(), empty.size());
    RecordChunk chunk;
    ASSERT_TRUE(cursor.ReadChunk(chunk));
    EXPECT_EQ(chunk.size, 0u);
}

TEST_F(LayoutRecordsTest, EveryTruncatedPrefixIsReadWithinItsBuffer)
{
    const std::vector<std::uint8_t> bytes = Saved(*BuildTree());
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        // A copy of exactly the prefix, so that the sanitizer sees any read past it.
        const std::vector<std::uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        RecordCursor cursor(prefix.data(), prefix.size());
        RecordChunk chunk;
        EXPECT_FALSE(cursor.ReadChunk(chunk)) << cut;
        // The payload alone, cut: the record reader fails.
        if (cut > 12) {
            std::unique_ptr<GUI_Window> window = std::make_unique<GUI_Window>(GUI_KIND_WINDOW);
            EXPECT_FALSE(window->Load(prefix.data() + 12, cut - 12, 13)) << cut;
        }
    }
}

TEST_F(LayoutRecordsTest, UnknownChildTagsAreSkippedAndLongStringsFailTheSave)
{
    GUI_Window parent(GUI_KIND_WINDOW);
    parent.AddChild(new GUI_Window(0, 0, 1, 1));
    std::vector<std::uint8_t> bytes = Saved(parent);
    // Insert an unknown chunk before the child and count two children.
    const std::vector<std::uint8_t> unknown = {'X', 'Y', 'Z', 'W', 'V', '1', '.', '0', 2, 0, 0, 0, 9, 9};
    // The child count sits right before the child chunk: find the child's tag after the root header.
    const std::size_t childAt = [&] {
        for (std::size_t i = 12; i + 4 <= bytes.size(); ++i) {
            if (bytes[i] == 'G' && bytes[i + 1] == 'W' && bytes[i + 2] == 'N' && bytes[i + 3] == 'D')
                return i;
        }
        return std::size_t{0};
    }();
    ASSERT_GT(childAt, 4u);
    bytes[childAt - 4] = 2;
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(childAt), unknown.begin(), unknown.end());
    const std::uint32_t size = static_cast<std::uint32_t>(bytes.size() - 12);
    for (int i = 0; i < 4; ++i)
        bytes[8 + i] = static_cast<std::uint8_t>(size >> (8 * i));
    const std::unique_ptr<GUI_Window> back = Loaded(bytes);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetChildren().size(), 1u);

    GUI_Window named(GUI_KIND_WINDOW);
    named.SetName(std::u16string(RECORD_STRING_MAX + 1, u'a'));
    RecordWriter writer;
    EXPECT_FALSE(named.Save(writer));
    EXPECT_FALSE(writer.SaveToFile(u"never.GUI"));
    EXPECT_FALSE(plat::IsReadable(u"never.GUI"));
    named.SetName(std::u16string(RECORD_STRING_MAX, u'a'));
    RecordWriter fits;
    EXPECT_TRUE(named.Save(fits));
}

TEST_F(LayoutRecordsTest, ScreensLoadFromStreamsOfBothScreenVersions)
{
    // V1.0: the windows follow the GINT chunk; chunks before it are not windows of the screen.
    RecordWriter old;
    GUI_Window(GUI_KIND_WINDOW).Save(old);
    old.BeginRecord(TAG_GINT, 10);
    old.EndRecord();
    for (int i = 0; i < 3; ++i)
        GUI_Window(0, 0, 5, 5).Save(old);
    GUI_Interface first;
    ASSERT_TRUE(first.ParseLayoutStream(old.Bytes().data(), old.Bytes().size()));
    EXPECT_EQ(first.GetWindows().size(), 3u);

    // V1.1 nests its windows; chunks after it are ignored.
    GUI_Interface source;
    for (int i = 0; i < 3; ++i)
        source.AddWindow(new GUI_Window(0, 0, 5, 5));
    RecordWriter nested;
    ASSERT_TRUE(source.Save(nested));
    GUI_Window(GUI_KIND_WINDOW).Save(nested);
    GUI_Interface second;
    ASSERT_TRUE(second.ParseLayoutStream(nested.Bytes().data(), nested.Bytes().size()));
    EXPECT_EQ(second.GetWindows().size(), 3u);

    // A file: read relative to the data folder; a missing or empty one loads nothing.
    m_dir.Write("GUI/Interfaces/Test.GUI", nested.Bytes());
    m_dir.Write("GUI/Interfaces/Empty.GUI", std::string());
    GUI_Interface fromFile;
    EXPECT_TRUE(fromFile.LoadFromFile(u"GUI\\Interfaces\\Test.GUI"));
    EXPECT_EQ(fromFile.GetWindows().size(), 3u);
    GUI_Interface none;
    EXPECT_FALSE(none.LoadFromFile(u"GUI\\Interfaces\\Empty.GUI"));
    EXPECT_FALSE(none.LoadFromFile(u"GUI\\Interfaces\\Missing.GUI"));

}

// A stream cut inside a record, or without a screen record, fails to load and the log names the file; the
// windows read before the fault stay.
TEST_F(LayoutRecordsTest, CutStreamsAndStreamsWithoutAScreenFailWithTheFileNamed)
{
    RecordWriter old;
    old.BeginRecord(TAG_GINT, 10);
    old.EndRecord();
    for (int i = 0; i < 3; ++i)
        GUI_Window(0, 0, 5, 5).Save(old);
    std::vector<std::uint8_t> cutStream = old.Bytes();
    cutStream.resize(cutStream.size() - 5);
    GUI_Interface cut;
    EXPECT_FALSE(cut.ParseLayoutStream(cutStream.data(), cutStream.size()));
    EXPECT_EQ(cut.GetWindows().size(), 2u);

    RecordWriter windowsOnly;
    GUI_Window(0, 0, 5, 5).Save(windowsOnly);
    m_dir.Write("GUI/Interfaces/Cut.GUI", cutStream);
    m_dir.Write("GUI/Interfaces/NoScreen.GUI", windowsOnly.Bytes());
    m_dir.Write("GUI/Interfaces/Empty.GUI", std::string());
    struct Case {
        const char16_t* path;
        const char* logged;
    };
    const Case cases[] = {
        {u"GUI\\Interfaces\\Cut.GUI", "GUI\\Interfaces\\Cut.GUI ends inside a record"},
        {u"GUI\\Interfaces\\NoScreen.GUI", "GUI\\Interfaces\\NoScreen.GUI holds no screen record"},
        {u"GUI\\Interfaces\\Empty.GUI", "GUI\\Interfaces\\Empty.GUI holds no screen record"},
    };
    for (const Case& c : cases) {
        const test::ScopedLog log;
        GUI_Interface screen;
        EXPECT_FALSE(screen.LoadFromFile(c.path)) << c.logged;
        EXPECT_EQ(log.Count(c.logged), 1) << log.Text();
    }
}

} // namespace
