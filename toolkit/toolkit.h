// SPDX-License-Identifier: GPL-2.0-or-later
// The toolkit layer: numbered windows, gadgets, menus and images over GTK 2.
// The rest of the program speaks only in these numbers; this folder is the only
// code that sees GTK or GDK.  All texts passed in are 8-bit (ISO-8859-15) strings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// ---- Program events -------------------------------------------------------

enum EventKind {
    EventMenu = 1,
    EventCloseWindow = 2,
    EventGadget = 3,
    EventSizeChanged = 6,
    EventTray = 9,
};

enum EventSubtype {
    LeftClick = 0,
    RightClick = 1,
    LeftDoubleClick = 2,
    RightDoubleClick = 3,
    FocusGained = 256,
    FocusLost = 512,
    TextChanged = 768,
};

struct ProgramEvent {
    int kind = 0;
    int object = 0;
    int window = 0;
    int subtype = 0;
};

// Takes the oldest queued program event; when none is queued, lets GTK handle
// at most one pending window-system event and takes what that produced.
bool PollEvent(ProgramEvent* event);
// Lets GTK handle every pending event, dropping the program events obtained.
void DrainEvents();
// Lets GTK handle what is pending, keeping the program events it produces
// queued (for tests that wait on the window system).
void HandlePendingWindowEvents();
// Blocks until a window-system event is pending or `ms` milliseconds passed.
void WaitForActivity(int ms);
void PostEvent(const ProgramEvent& event);
void DropQueuedEvents();
int QueuedEventCount();

// Click classification shared by the tray icon and the tree: a double press
// marks the click, any other press clears it, the release reports it.
enum class PressType { Single, Double, Triple };
struct ClickState {
    bool doubleMark = false;
};
void ClickPressed(ClickState& state, PressType type, int button);
// Returns the sub-type (LeftClick ... RightDoubleClick), or -1 for buttons
// other than 1 and 3.
int ClickReleased(ClickState& state, int button);

// The UTF-8 that GTK is given for an 8-bit (ISO-8859-15) text; the bytes
// unchanged when they cannot be converted.
std::string Latin9ToUtf8(const std::string& text);
// GTK is given at most this many characters of any one text to draw or
// measure (entries aside): more than the widest screen shows on a line, so an
// outsize text from the client costs no more than a full one.  What the
// program reads back is the whole text.
constexpr size_t ShownChars = 4096;

// ---- Start, clock and pauses ---------------------------------------------

// Initialises GTK with the command line, taking out its own options.
bool InitToolkit(int* argc, char*** argv);
bool ToolkitReady();

// Milliseconds from the whole second of the first reading; compare as a
// signed 32-bit difference.
int32_t Millis();
void Pause(int ms);

// Test seam: replace the clock and the pause so pauses can be checked
// without waiting.  Passing empty functions restores the real ones.
void SetClockForTests(std::function<int64_t()> clock);
void SetPauseForTests(std::function<void(int)> pause);

// ---- Images ---------------------------------------------------------------

// Registers the embedded images under their numbers.
void RegisterImages();
int ImageWidth(int image);
int ImageHeight(int image);
void FreeImages();

// ---- Windows ----------------------------------------------------------------

enum WindowFlags : unsigned {
    WindowResizable = 1,  // resize handles and the resize function
    WindowCentered = 2,
};

// Builds the window hidden; a window of that number already open is destroyed
// first.  `parent`, when not 0, makes it transient for that window.
bool OpenWindow(int window, const std::string& title, int width, int height, unsigned flags,
                int parent = 0);
void ShowWindow(int window);
void HideWindow(int window);
void CloseWindow(int window);
void CloseAllWindows();
bool WindowIsOpen(int window);
bool WindowIsVisible(int window);
void IconifyWindow(int window);
bool GetWindowPosition(int window, int* x, int* y);
void MoveWindow(int window, int x, int y);
void ResizeWindow(int window, int width, int height);
bool GetWindowSize(int window, int* width, int* height);

// ---- Gadgets ----------------------------------------------------------------

enum class Align { Left, Center };

bool AddImageGadget(int gadget, int window, int x, int y, int image);
bool AddLabel(int gadget, int window, int x, int y, int width, int height, const std::string& text,
              Align align);
bool AddTree(int gadget, int window, int x, int y, int width, int height);
bool AddImageButton(int gadget, int window, int x, int y, int width, int height, int image);

void SetGadgetText(int gadget, const std::string& text);
std::string GadgetText(int gadget);
void SetGadgetSensitive(int gadget, bool sensitive);
bool GadgetSensitive(int gadget);
void MoveGadget(int gadget, int x, int y);
void ResizeGadget(int gadget, int width, int height);
struct GadgetBox {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const GadgetBox&) const = default;
};
GadgetBox GadgetGeometry(int gadget);
void SetButtonImage(int gadget, int image);
int ButtonImage(int gadget);
// For tests: the UTF-8 GTK is given to draw a label.
std::string GadgetShownText(int gadget);
// What assistive technology calls the gadget, and its tooltip.
void SetGadgetAccessibleName(int gadget, const std::string& name);
void SetGadgetTooltip(int gadget, const std::string& text);

// ---- Entries, buttons, check boxes, frames and pages ---------------------------

enum EntryFlags : unsigned {
    EntryHidden = 1,      // each character drawn as the invisible-character mark
    EntryDigitsOnly = 2,  // every inserted character other than 0-9 is dropped
};
// A one-line entry holding `text`; posts FocusGained, FocusLost and
// TextChanged.  Its text is read back as GTK holds it (UTF-8), unconverted.
// Setting the text it already shows changes nothing and posts nothing.
bool AddEntry(int gadget, int window, int x, int y, int width, int height,
              const std::string& text, unsigned flags = 0);
// For tests: inserts at the cursor, as typing or pasting does.
void InsertGadgetText(int gadget, const std::string& text);
bool AddButton(int gadget, int window, int x, int y, int width, int height,
               const std::string& text);
// Posts a LeftClick on every toggle, whether the user or the program made it.
bool AddCheckBox(int gadget, int window, int x, int y, int width, int height,
                 const std::string& text);
void SetCheckBox(int gadget, bool ticked);
bool CheckBoxTicked(int gadget);
// An etched frame with a title, drawn behind the gadgets that lie inside it.
bool AddFrame(int gadget, int window, int x, int y, int width, int height,
              const std::string& title);
// A left-aligned single-line label inside a sunken frame.
bool AddSunkenLabel(int gadget, int window, int x, int y, int width, int height,
                    const std::string& text);
// A left-aligned label of several lines, one per line feed, never wrapped.
bool AddTextBlock(int gadget, int window, int x, int y, int width, int height,
                  const std::string& text);
// A picture in a sunken frame, at its own size plus the frame.
bool AddFramedImage(int gadget, int window, int x, int y, int image);
// A page: a sunken frame around an area of its own.  Gadgets added between
// BeginPage and EndPage go into that area, placed relative to it.
bool AddPage(int gadget, int window, int x, int y, int width, int height);
void BeginPage(int page);
void EndPage();
void ShowGadget(int gadget);
void HideGadget(int gadget);
bool GadgetVisible(int gadget);

// ---- Tree -------------------------------------------------------------------
// Rows are numbered from 0 in display order; two levels.  A level-1 row
// appended to an empty tree becomes a top-level row and takes the following
// level-1 rows as its children.

void TreeClear(int gadget);
void TreeAppend(int gadget, int level, int image, std::string text);
void TreeSetRowColor(int gadget, int row, uint32_t rgb);
int TreeRowCount(int gadget);
// Expands every row and leaves none selected.
void TreeExpandAll(int gadget);
void TreeCollapseRow(int gadget, int row);
bool TreeRowExpanded(int gadget, int row);
int TreeSelectedRow(int gadget);
void TreeSelectRow(int gadget, int row);
std::string TreeRowText(int gadget, int row);
std::string TreeSelectedText(int gadget);
// For tests: what a row shows.
struct TreeRowLook {
    int level = -1;
    int image = 0;
    bool grey = false;
    std::string shown;  // the UTF-8 GTK is given to draw
};
TreeRowLook TreeRowAppearance(int gadget, int row);
// For tests: the column's width, and the pixel width of a text in the tree.
int TreeColumnWidth(int gadget);
int TreeTextWidth(int gadget, const std::string& text);

// ---- Popup menus ------------------------------------------------------------

// A menu of that number made before is replaced by an empty one.
bool CreatePopupMenu(int menu);
void AddMenuItem(int menu, int item, const std::string& text);
void AddMenuSeparator(int menu);
// Items added between these two go into a submenu of `menu`.
void BeginSubmenu(int menu, const std::string& text);
void EndSubmenu(int menu);
void ShowPopupMenu(int menu);
bool PopupMenuShown(int menu);
void HidePopupMenus();
void FreeMenus();

// ---- Tray icon ---------------------------------------------------------------

bool AddTrayIcon(int window, int image, const std::string& tooltip);
void RemoveTrayIcon();
std::string TrayTooltip();

// ---- Message boxes and the file chooser ---------------------------------------

enum class BoxKind { Ok, YesNo, SaveFile };
enum class BoxAnswer { Ok, Yes, No, Closed };

// Modal boxes centred on the screen.  Closing a question box through the
// window manager answers neither Yes nor No.
void MessageOk(const std::string& title, const std::string& text);
BoxAnswer AskQuestion(const std::string& title, const std::string& text);
inline bool AskYesNo(const std::string& title, const std::string& text) {
    return AskQuestion(title, text) == BoxAnswer::Yes;
}

struct FileFilter {
    std::string name;
    std::string pattern;
};
// Save-mode chooser; returns the chosen path, or "" when cancelled.
std::string ChooseSaveFile(const std::string& title, const std::string& proposedPath,
                           const std::vector<FileFilter>& filters);

// Test seam: while scripted, boxes are not shown; each takes the next answer
// and is recorded.  A box with no answer left is recorded and taken as closed.
struct BoxRecord {
    BoxKind kind = BoxKind::Ok;
    std::string title;
    std::string text;  // the message, or the proposed path of a chooser
    bool answered = false;
};
struct ScriptedAnswer {
    BoxAnswer answer = BoxAnswer::Closed;
    std::string path;  // for the chooser: "" means cancelled
};
void ScriptBoxes(std::vector<ScriptedAnswer> answers);
// The same with an answerer that sees each box as it comes (and may look at
// the program's state at that moment).
void ScriptBoxesWith(std::function<ScriptedAnswer(const BoxRecord&)> answerer);
void StopScriptingBoxes();
const std::vector<BoxRecord>& ScriptedBoxLog();

// ---- Clipboard ----------------------------------------------------------------

// Puts the text on the desktop's CLIPBOARD selection.
void CopyToClipboard(const std::string& text);
