// The entry editor and its pickers on their own, offscreen: what the
// controls show and give, macros on picked paths, the folder tree and list,
// and the icon picker.
#include "launcher/ui/frmEditApp.h"
#include "launcher/ui/frmIconPicker.h"
#include "launcher/ui/frmSelect.h"

#include "i18n/Language.h"
#include "support/QtWait.h"
#include "support/TempDir.h"
#include "ui/Prompts.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include <filesystem>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using test::WaitFor;

QString Q(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

void Touch(const fs::path& file)
{
    fs::create_directories(file.parent_path());
    test::WriteFileBytes(file.string(), "x");
}

QStringList ListNames(const TfrmSelect& select)
{
    QStringList names;
    const QAbstractItemModel* model = select.lvItems->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 0).data().toString();
    return names;
}

// The tree item of a child folder of the tree's current folder.
QModelIndex TreeChild(const TfrmSelect& select, const QString& name)
{
    // Persistent: the model sorts again as folders arrive.
    const QPersistentModelIndex current = select.tvFolders->currentIndex();
    const QAbstractItemModel* model = select.tvFolders->model();
    select.tvFolders->expand(current);
    QModelIndex found;
    WaitFor(
        [&] {
            for (int row = 0; row < model->rowCount(current); ++row) {
                if (model->index(row, 0, current).data().toString() == name)
                    found = model->index(row, 0, current);
            }
            return found.isValid();
        },
        15000); // the file system model reads folders on a thread of its own
    return found;
}

void ClickTree(TfrmSelect& select, const QModelIndex& item, Qt::MouseButton button = Qt::LeftButton)
{
    select.tvFolders->scrollTo(item);
    QTest::mouseClick(select.tvFolders->viewport(), button, {}, select.tvFolders->visualRect(item).center());
}

QModelIndex ListItem(const TfrmSelect& select, const QString& name)
{
    const QAbstractItemModel* model = select.lvItems->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, 0).data().toString() == name)
            return model->index(row, 0);
    }
    return {};
}

class SelectDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(m_dir.path() / "Zdir");
        fs::create_directories(m_dir.path() / "cdir" / "inner");
        Touch(m_dir.path() / "b.txt");
        Touch(m_dir.path() / "A.txt");
    }
    void TearDown() override { SetPromptHook({}); }

    QString Dir() const { return Q(m_dir.path()); }

    test::TempDir m_dir;
    TLanguage m_language;
};

TEST_F(SelectDialog, ListShowsFoldersFirstEachSortedWithoutCase)
{
    TfrmSelect select(TfrmSelect::TMode::FilesAndFolders, m_language);
    // Starts at home, the first of the places.
    EXPECT_EQ(select.SelectedPath(), QDir::homePath());
    EXPECT_EQ(select.cbbPlaces->itemData(0).toString(), QDir::homePath());
    EXPECT_EQ(select.cbbPlaces->itemData(select.cbbPlaces->count() - 1).toString(), "/");

    select.OpenAt(Dir());
    EXPECT_EQ(ListNames(select), (QStringList{"cdir", "Zdir", "A.txt", "b.txt"}));
    EXPECT_TRUE(Dir().startsWith(select.PlaceRoot()));
    EXPECT_EQ(select.SelectedPath(), Dir());
    EXPECT_EQ(select.windowTitle(), "Select Item");
    EXPECT_EQ(select.btnOk->text(), "Ok");
    EXPECT_TRUE(select.btnOk->isDefault());
}

TEST_F(SelectDialog, FolderChosenInTheTreeIsReturnedWhileTheListHasNoSelection)
{
    TfrmSelect select(TfrmSelect::TMode::FilesAndFolders, m_language);
    select.show();
    select.OpenAt(Dir());

    const QModelIndex cdir = TreeChild(select, "cdir");
    ASSERT_TRUE(cdir.isValid());
    ClickTree(select, cdir);
    EXPECT_EQ(select.SelectedPath(), Dir() + "/cdir");
    EXPECT_EQ(ListNames(select), QStringList{"inner"});
    EXPECT_EQ(select.edtPath->text(), Dir() + "/cdir");

    // An item selected in the list wins over the tree.
    const QModelIndex inner = ListItem(select, "inner");
    QTest::mouseClick(select.lvItems->viewport(), Qt::LeftButton, {}, select.lvItems->visualRect(inner).center());
    EXPECT_EQ(select.SelectedPath(), Dir() + "/cdir/inner");
    // Opening a folder of the list moves the tree there.
    QTest::mouseDClick(select.lvItems->viewport(), Qt::LeftButton, {}, select.lvItems->visualRect(inner).center());
    EXPECT_EQ(select.SelectedPath(), Dir() + "/cdir/inner");
    EXPECT_EQ(select.tvFolders->currentIndex().data().toString(), "inner");
    EXPECT_TRUE(ListNames(select).isEmpty());
    EXPECT_TRUE(select.isVisible());

    // A right click in the tree selects too.
    select.OpenAt(Dir());
    const QModelIndex zdir = TreeChild(select, "Zdir");
    ASSERT_TRUE(zdir.isValid());
    ClickTree(select, zdir, Qt::RightButton);
    EXPECT_EQ(select.SelectedPath(), Dir() + "/Zdir");
}

TEST_F(SelectDialog, OpeningAtAFileSelectsItAndTheFolderVariantShowsTheTreeOnly)
{
    TfrmSelect select(TfrmSelect::TMode::FilesAndFolders, m_language);
    select.OpenAt(Dir() + "/b.txt");
    EXPECT_EQ(select.SelectedPath(), Dir() + "/b.txt");
    EXPECT_EQ(select.lvItems->currentIndex().data().toString(), "b.txt");
    select.OpenAt(Dir() + "/missing.txt");
    EXPECT_EQ(select.SelectedPath(), Dir() + "/b.txt");

    TfrmSelect folders(TfrmSelect::TMode::FoldersOnly, m_language);
    folders.show();
    EXPECT_FALSE(folders.lvItems->isVisible());
    EXPECT_TRUE(folders.tvFolders->isVisible());
    folders.OpenAt(Dir() + "/b.txt");
    EXPECT_EQ(folders.SelectedPath(), Dir());
    folders.OpenAt(Dir() + "/cdir/inner");
    EXPECT_EQ(folders.SelectedPath(), Dir() + "/cdir/inner");
}

TEST_F(SelectDialog, ResizePlacesTheButtonsAndReloadsTheListKeepingTheSelection)
{
    TfrmSelect select(TfrmSelect::TMode::FilesAndFolders, m_language);
    select.show();
    select.OpenAt(Dir() + "/b.txt");
    Touch(m_dir.path() / "a0.txt"); // sorts before b.txt
    EXPECT_EQ(ListNames(select).size(), 4);

    // While the frame is dragged (left button down) the list waits.
    QTest::mousePress(select.pnlButtons, Qt::LeftButton, {}, QPoint(2, 2));
    select.resize(640, 420);
    ASSERT_TRUE(WaitFor([&] { return select.width() == 640; }));
    WaitFor([] { return false; }, 300);
    EXPECT_TRUE(select.tmrReload.isActive());
    EXPECT_EQ(ListNames(select).size(), 4);
    QTest::mouseRelease(select.pnlButtons, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(select.width() - (select.btnOk->x() + select.btnOk->width()), 16);
    EXPECT_EQ(select.btnOk->x() - (select.btnCancel->x() + select.btnCancel->width()), 24);
    EXPECT_EQ(select.pnlButtons->height(), 40);
    EXPECT_EQ(select.pnlButtons->width(), 640);

    ASSERT_TRUE(WaitFor([&] { return ListNames(select).size() == 5; }));
    EXPECT_FALSE(select.tmrReload.isActive());
    EXPECT_EQ(ListNames(select), (QStringList{"cdir", "Zdir", "A.txt", "a0.txt", "b.txt"}));
    EXPECT_EQ(select.SelectedPath(), Dir() + "/b.txt");
}

TEST_F(SelectDialog, TypedPathIsChosenWhenItExists)
{
    std::vector<bool> openAfterMissing;
    SetPromptHook([&](QDialog& dialog) {
        auto* select = qobject_cast<TfrmSelect*>(&dialog);
        if (!select) {
            ADD_FAILURE() << "unexpected prompt " << dialog.metaObject()->className();
            return dialog.reject();
        }
        select->edtPath->setFocus();
        select->edtPath->clear();
        QTest::keyClicks(select->edtPath, Dir() + "/nothing-here");
        QTest::keyClick(select->edtPath, Qt::Key_Return);
        openAfterMissing.push_back(select->isVisible());
        select->edtPath->clear();
        QTest::keyClicks(select->edtPath, Dir() + "/A.txt");
        QTest::keyClick(select->edtPath, Qt::Key_Return);
    });
    TfrmSelect select(TfrmSelect::TMode::FilesAndFolders, m_language);
    EXPECT_EQ(RunPrompt(select), QDialog::Accepted);
    EXPECT_EQ(openAfterMissing, std::vector<bool>{true});
    EXPECT_EQ(select.SelectedPath(), Dir() + "/A.txt");
}

// Writes an icon file of 16 × 16 pictures, one of each colour.
void WriteIco(const std::string& path, const std::vector<QColor>& colours)
{
    QByteArray out;
    const auto put16 = [&out](int v) { out.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    const auto put32 = [&](int v) { put16(v & 0xFFFF), put16((v >> 16) & 0xFFFF); };
    constexpr int kSize = 16;
    constexpr int kBytes = 40 + kSize * kSize * 4 + kSize * 4;
    put16(0), put16(1), put16(static_cast<int>(colours.size()));
    for (size_t i = 0; i < colours.size(); ++i) {
        out.append(char(kSize)).append(char(kSize)).append(char(0)).append(char(0));
        put16(1), put16(32), put32(kBytes), put32(6 + 16 * static_cast<int>(colours.size()) + int(i) * kBytes);
    }
    for (const QColor& colour : colours) {
        put32(40), put32(kSize), put32(2 * kSize), put16(1), put16(32);
        for (int k = 0; k < 6; ++k)
            put32(0);
        for (int p = 0; p < kSize * kSize; ++p)
            out.append(char(colour.blue())).append(char(colour.green())).append(char(colour.red())).append(char(255));
        out.append(QByteArray(kSize * 4, '\0')); // mask: every pixel shown
    }
    test::WriteFileBytes(path, out.toStdString());
}

void WritePng(const std::string& path, QColor colour)
{
    QImage image(48, 48, QImage::Format_ARGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(QString::fromStdString(path), "PNG"));
}

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folders = {m_dir.file("app"), m_dir.file("win"), m_dir.file("win/sys")};
        Touch(m_dir.path() / "app/tools/x.exe");
        Touch(m_dir.path() / "win/sys/calc");
        Touch(m_dir.path() / "win/notepad");
        Touch(m_dir.path() / "other/y");
        WritePng(m_dir.file("app/red.png"), Qt::red);
        m_entry.App = "$(Kuv)/tools/x.exe";
        m_entry.RunFolder = "$(Kuv)/tools/";
        m_entry.IconFile = "$(Kuv)/red.png";
        m_entry.IconIndex = 0;
        m_entry.Descript = "Tool";
        m_entry.Arguments = "-v 'a b'";
        m_entry.PromptArgument = true;
        m_entry.WS = wsMaximized;
        m_entry.RunCount = 7;
        m_entry.RunTimer = 3;
        m_entry.Autorun = true;
    }
    void TearDown() override { SetPromptHook({}); }

    // Answers the next file or folder picker with this path, and notes where
    // it opened and whether it shows the list.
    void PickWith(const QString& path)
    {
        SetPromptHook([this, path](QDialog& dialog) {
            auto* select = qobject_cast<TfrmSelect*>(&dialog);
            if (!select) {
                ADD_FAILURE() << "unexpected prompt " << dialog.metaObject()->className();
                return dialog.reject();
            }
            m_openedAt = select->SelectedPath();
            m_listShown = select->lvItems->isVisible();
            if (path.isEmpty())
                return select->btnCancel->click();
            select->OpenAt(path);
            select->btnOk->click();
        });
    }

    test::TempDir m_dir;
    TMacroFolders m_folders;
    TAppEntry m_entry;
    TLanguage m_language;
    QString m_openedAt;
    bool m_listShown = false;
};

TEST_F(EditorTest, ControlsShowTheEntryAndOkGivesWhatTheyShow)
{
    TfrmEditApp editor(m_entry, m_language, m_folders, 32);
    EXPECT_EQ(editor.windowTitle(), "Edit Application");
    EXPECT_EQ(editor.edtDescript->text(), "Tool");
    EXPECT_EQ(editor.edtApp->text(), "$(Kuv)/tools/x.exe");
    EXPECT_EQ(editor.edtStartFolder->text(), "$(Kuv)/tools/");
    EXPECT_EQ(editor.edtArguments->text(), "-v 'a b'");
    EXPECT_TRUE(editor.chkPrompt->isChecked());
    EXPECT_EQ(editor.cbbWS->currentText(), "Maximized");
    EXPECT_TRUE(editor.chkAutoRun->isChecked());
    EXPECT_EQ(editor.chkAutoRun->text(), "Auto Run");
    EXPECT_TRUE(editor.btnOk->isDefault());
    EXPECT_EQ(editor.Edited(), m_entry);

    EXPECT_EQ(editor.lbNote->text(), "$(Kuv): Kuv's path\n$(Win): Windows's path\n$(Sys): System's path");
    EXPECT_EQ(editor.lbNote->toolTip().toStdString(),
              "$(Kuv) = " + m_folders.AppDir + "\n$(Win) = " + m_folders.WinDir + "\n$(Sys) = " + m_folders.SysDir);
    EXPECT_FALSE(editor.lbNote->isEnabled());
    EXPECT_TRUE(QFontInfo(editor.lbNote->font()).fixedPitch());

    editor.edtDescript->setText(QString::fromUtf8("Wörter"));
    editor.edtApp->setText("/opt/new");
    editor.edtStartFolder->setText("/opt");
    editor.edtArguments->setText("");
    editor.chkPrompt->setChecked(false);
    editor.cbbWS->setCurrentIndex(1);
    editor.chkAutoRun->setChecked(false);
    TAppEntry expected = m_entry;
    expected.Descript = "Wörter";
    expected.App = "/opt/new";
    expected.RunFolder = "/opt";
    expected.Arguments = "";
    expected.PromptArgument = false;
    expected.WS = wsMinimized;
    expected.Autorun = false;
    EXPECT_EQ(editor.Edited(), expected);
}

TEST_F(EditorTest, WindowStatesAndIconPlaceFollowTheEntryAndIconSize)
{
    const struct {
        uint8_t ws;
        int shown;
        uint8_t given;
    } states[] = {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {7, 0, 0}};
    for (const auto& s : states) {
        m_entry.WS = s.ws;
        TfrmEditApp editor(m_entry, m_language, m_folders, 32);
        EXPECT_EQ(editor.cbbWS->currentIndex(), s.shown) << int(s.ws);
        EXPECT_EQ(editor.Edited().WS, s.given) << int(s.ws);
    }
    for (int size : {16, 32, 48}) {
        TfrmEditApp editor(m_entry, m_language, m_folders, size);
        EXPECT_EQ(editor.btnIcon->size(), QSize(size + 4, size + 4));
        EXPECT_EQ(editor.btnIcon->y(), 69 - size);
        EXPECT_EQ(editor.pnlIcon->size(), QSize(73, 73));
        EXPECT_FALSE(editor.btnIcon->isEnabled());
        EXPECT_EQ(editor.Preview().size(), QSize(size, size));
        EXPECT_GE(editor.width(), 400);
        EXPECT_GE(editor.height(), 301);
    }
}

TEST_F(EditorTest, CaptionsComeFromTheLanguage)
{
    m_language.LoadLanguage(kLangSimplifiedChinese, {});
    TfrmEditApp editor(m_entry, m_language, m_folders, 32);
    EXPECT_EQ(editor.windowTitle(), QString::fromUtf8("编辑程序"));
    EXPECT_EQ(editor.chkPrompt->text(), QString::fromUtf8("运行时询问参数"));
    EXPECT_EQ(editor.cbbWS->itemText(2), QString::fromUtf8("最大化"));
    EXPECT_EQ(editor.btnCancel->text(), QString::fromUtf8("取消"));
    TfrmSelect select(TfrmSelect::TMode::FilesAndFolders, m_language);
    EXPECT_EQ(select.windowTitle(), QString::fromUtf8("选择项目"));
}

TEST_F(EditorTest, PickedPathsTakeTheirMacroTypedPathsStayFull)
{
    const struct {
        const char* picked;
        std::string shown;
    } rows[] = {
        {"app/tools/x.exe", "$(Kuv)/tools/x.exe"},
        {"win/sys/calc", "$(Sys)/calc"}, // not $(Win)/sys/calc
        {"win/notepad", "$(Win)/notepad"},
        {"other/y", m_dir.file("other/y")},
        {"app/tools", "$(Kuv)/tools"}, // a folder is an application too
    };
    for (const auto& row : rows) {
        TfrmEditApp editor(m_entry, m_language, m_folders, 32);
        PickWith(QString::fromStdString(m_dir.file(row.picked)));
        editor.btnSelApp->click();
        EXPECT_EQ(editor.edtApp->text().toStdString(), row.shown) << row.picked;
        EXPECT_EQ(editor.Edited().App, row.shown) << row.picked;
        // The picker opened at the application of the entry.
        EXPECT_EQ(m_openedAt.toStdString(), m_dir.file("app/tools/x.exe"));
        EXPECT_TRUE(m_listShown);
    }

    TfrmEditApp editor(m_entry, m_language, m_folders, 32);
    editor.edtApp->clear();
    QTest::keyClicks(editor.edtApp, QString::fromStdString(m_dir.file("app/tools/x.exe")));
    EXPECT_EQ(editor.Edited().App, m_dir.file("app/tools/x.exe"));
    // A cancelled picker leaves the field.
    PickWith({});
    editor.btnSelApp->click();
    EXPECT_EQ(editor.Edited().App, m_dir.file("app/tools/x.exe"));
}

TEST_F(EditorTest, StartFolderIsPickedFromTheTreeAlone)
{
    TfrmEditApp editor(m_entry, m_language, m_folders, 32);
    PickWith(QString::fromStdString(m_dir.file("win/sys")));
    editor.btnSelFolder->click();
    EXPECT_FALSE(m_listShown);
    EXPECT_EQ(m_openedAt.toStdString(), m_dir.file("app/tools"));
    // The system folder itself is no path inside it, but one inside the Windows folder.
    EXPECT_EQ(editor.edtStartFolder->text(), "$(Win)/sys");
    EXPECT_EQ(editor.Edited().RunFolder, "$(Win)/sys");
    PickWith({});
    editor.btnSelFolder->click();
    EXPECT_EQ(editor.Edited().RunFolder, "$(Win)/sys");
}

TEST_F(EditorTest, IconPickerOpensOnTheIconOrOnTheDefaultWhenItIsGone)
{
    const bool themed = [] {
        PrepareIconThemes();
        return QIcon::hasThemeIcon("folder");
    }();
    const QString red = QString::fromStdString(m_dir.file("app/red.png"));
    const QString fallback = kDefaultPickerIcon;
    struct Row {
        std::string iconFile;
        int index;
        TIconChoice expected;
    };
    std::vector<Row> rows = {
        {"$(Kuv)/red.png", 2, {red, 2}},
        {m_dir.file("app/red.png"), 0, {red, 0}},
        {"$(Kuv)/gone.png", 3, {fallback, 0}},
        {m_dir.file("gone.ico"), 1, {fallback, 0}},
        {"tramble-no-such-theme-icon", 4, {fallback, 0}},
        {"", 5, {fallback, 0}},
        {m_dir.file("app"), 0, {fallback, 0}}, // a folder holds no icon
    };
    if (themed)
        rows.push_back({"folder", 0, {"folder", 0}});
    for (const Row& row : rows) {
        const TIconChoice start = IconPickerStart(row.iconFile, row.index, m_folders);
        EXPECT_EQ(start.File, row.expected.File) << row.iconFile;
        EXPECT_EQ(start.Index, row.expected.Index) << row.iconFile;
    }
}

TEST_F(EditorTest, IconChosenInThePickerIsStoredWithItsMacroAndPreviewed)
{
    PrepareIconThemes();
    if (!QIcon::hasThemeIcon(kDefaultPickerIcon))
        GTEST_SKIP() << "no icon theme with " << kDefaultPickerIcon;
    m_entry.IconFile = "$(Kuv)/gone.png";
    m_entry.IconIndex = 4;
    TfrmEditApp editor(m_entry, m_language, m_folders, 32);
    // A missing icon shows the placeholder: red lines on transparent.
    EXPECT_EQ(editor.Preview().pixelColor(16, 16), QColor(Qt::red));
    EXPECT_EQ(editor.Preview().pixelColor(16, 2).alpha(), 0);

    std::optional<TIconChoice> openedOn;
    QString chosenFile;
    SetPromptHook([&](QDialog& dialog) {
        auto* picker = qobject_cast<TfrmIconPicker*>(&dialog);
        if (!picker) {
            ADD_FAILURE() << "unexpected prompt " << dialog.metaObject()->className();
            return dialog.reject();
        }
        openedOn = picker->Chosen();
        if (chosenFile.isEmpty())
            return picker->btnCancel->click();
        picker->pgcKind->setCurrentIndex(1);
        picker->edtIconFile->setText(chosenFile);
        picker->btnOk->click();
    });
    editor.btnSelectIcon->click();
    ASSERT_TRUE(openedOn);
    EXPECT_EQ(*openedOn, (TIconChoice{kDefaultPickerIcon, 0}));
    EXPECT_EQ(editor.Edited().IconFile, "$(Kuv)/gone.png"); // cancelled: unchanged
    EXPECT_EQ(editor.Edited().IconIndex, 4);

    WriteIco(m_dir.file("app/icons.ico"), {Qt::green, Qt::blue});
    chosenFile = QString::fromStdString(m_dir.file("app/icons.ico"));
    editor.btnSelectIcon->click();
    EXPECT_EQ(editor.Edited().IconFile, "$(Kuv)/icons.ico");
    EXPECT_EQ(editor.Edited().IconIndex, 0);
    EXPECT_EQ(editor.Preview().pixelColor(16, 16), QColor(Qt::green));
    EXPECT_EQ(editor.Edited().App, m_entry.App); // only the icon changed
}

TEST_F(EditorTest, IconPickerSearchesThemeNamesAndPicksIcoPicturesByIndex)
{
    TfrmIconPicker picker(m_language);
    const QAbstractItemModel* names = picker.lvThemeIcons->model();
    if (names->rowCount() == 0)
        GTEST_SKIP() << "no icon theme installed";
    EXPECT_FALSE(picker.Chosen());
    EXPECT_FALSE(picker.btnOk->isEnabled());
    QTest::keyClicks(picker.edtSearch, "X-EXECUTABLE");
    ASSERT_GT(names->rowCount(), 0);
    for (int row = 0; row < names->rowCount(); ++row)
        EXPECT_TRUE(names->index(row, 0).data().toString().contains("x-executable")) << row;
    picker.lvThemeIcons->setCurrentIndex(names->index(0, 0));
    EXPECT_EQ(picker.Chosen()->Index, 0);
    EXPECT_TRUE(picker.Chosen()->File.contains("x-executable"));
    EXPECT_TRUE(picker.btnOk->isEnabled());

    WriteIco(m_dir.file("two.ico"), {Qt::green, Qt::blue});
    picker.OpenOn({QString::fromStdString(m_dir.file("two.ico")), 1});
    EXPECT_EQ(picker.pgcKind->currentIndex(), 1);
    EXPECT_EQ(picker.udIndex->maximum(), 1);
    EXPECT_EQ(picker.lbPreview->pixmap().toImage().pixelColor(32, 32), QColor(Qt::blue));
    EXPECT_EQ(picker.Chosen(), (TIconChoice{QString::fromStdString(m_dir.file("two.ico")), 1}));
    picker.edtIconFile->setText(QString::fromStdString(m_dir.file("none.png")));
    EXPECT_FALSE(picker.Chosen());
    EXPECT_FALSE(picker.btnOk->isEnabled());
}

// Icons drawn only as SVG (most of a modern theme's) show on buttons and in
// the picker: the SVG image and icon plugins are there.
TEST(SvgIcons, SvgFilesAndSvgOnlyThemeIconsDraw)
{
    test::TempDir dir;
    const char* svg = "<svg xmlns='http://www.w3.org/2000/svg' width='16' height='16'>"
                      "<rect width='16' height='16' fill='#0000ff'/></svg>";
    fs::create_directories(dir.path() / "hicolor/scalable/apps");
    test::WriteFileBytes(dir.file("hicolor/index.theme"), "[Icon Theme]\nName=Hicolor\nDirectories=scalable/apps\n\n"
                                                          "[scalable/apps]\nSize=48\nMinSize=8\nMaxSize=512\n"
                                                          "Type=Scalable\n");
    test::WriteFileBytes(dir.file("hicolor/scalable/apps/tramble-svg-only.svg"), svg);
    test::WriteFileBytes(dir.file("blue.svg"), svg);

    TEntryIconSource icons;
    const std::optional<TRgbaImage> file = icons.Extract(dir.file("blue.svg"), 0, 32);
    ASSERT_TRUE(file) << "no SVG image plugin";
    EXPECT_EQ(file->Pixel(16, 16), 0x0000FFFFu);

    PrepareIconThemes();
    const QStringList paths = QIcon::themeSearchPaths();
    QIcon::setThemeSearchPaths(QStringList{Q(dir.path())} + paths);
    const std::optional<TRgbaImage> themed = icons.Extract("tramble-svg-only", 0, 32);
    QIcon::setThemeSearchPaths(paths);
    ASSERT_TRUE(themed) << "no SVG icon engine";
    EXPECT_EQ(themed->Pixel(16, 16), 0x0000FFFFu);
}

} // namespace
} // namespace tramble
