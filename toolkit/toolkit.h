// SPDX-License-Identifier: GPL-2.0-or-later
// The toolkit layer: numbered windows, gadgets, menus and images over GTK 2.
// The rest of the program speaks only in these numbers; this folder is the only
// code that sees GTK or GDK.  All texts passed in are 8-bit (ISO-8859-15) strings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
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
// Polls once as the loop does, dropping the program event obtained, if any.
void DropOneEvent();
// Blocks until a window-system event is pending or `ms` milliseconds passed.
void WaitForActivity(int ms);

// While a client command runs: the window system's descriptor to watch, and
// what may be served meanwhile (repaints, size and map changes, the window
// manager's pings), every other event (clicks, keys, closes) dropped; once
// the command has taken a moment, a busy cursor over every window of the
// program.
void BeginBusy();
int WindowSystemDescriptor();
void ServeWhileBusy();
void EndBusy();

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

// GTK is given at most this many characters of any one text to draw or
// measure (entries aside): more than the widest screen shows on a line, so an
// outsize text from the client costs no more than a full one.  What the
// program reads back is the whole text.
constexpr size_t ShownChars = 4096;

// ---- Start -----------------------------------------------------------------

// Initialises GTK with the command line, taking out its own options.
bool InitToolkit(int* argc, char*** argv);
bool ToolkitReady();

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
void MoveGadget(int gadget, int x, int y);
void ResizeGadget(int gadget, int width, int height);
struct GadgetBox {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const GadgetBox&) const = default;
};
GadgetBox GadgetGeometry(int gadget);
void SetButtonImage(int gadget, int image);
// What assistive technology calls the gadget, and its tooltip.
void SetGadgetAccessibleName(int gadget, const std::string& name);
void SetGadgetTooltip(int gadget, const std::string& text);

// ---- Entries, buttons, check boxes, frames and pages ---------------------------

enum EntryFlags : unsigned {
    EntryHidden = 1,      // each character drawn as the invisible-character mark
    EntryDigitsOnly = 2,  // every inserted character other than 0-9 is dropped
};
// A one-line entry holding `text`; posts FocusGained, FocusLost and
// TextChanged.  GadgetText reads its text back as GTK holds it (UTF-8),
// unconverted.  Setting the text it already shows changes nothing and posts
// nothing.
bool AddEntry(int gadget, int window, int x, int y, int width, int height,
              const std::string& text, unsigned flags = 0);
// The entry's text in the program's 8-bit ISO-8859-15; nothing when it holds
// a character that set lacks.
std::optional<std::string> EntryLatin9Text(int gadget);
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

// ---- Tree -------------------------------------------------------------------
// Rows are numbered from 0 in display order; two levels.  A level-1 row
// appended to an empty tree becomes a top-level row and takes the following
// level-1 rows as its children.

void TreeClear(int gadget);
void TreeAppend(int gadget, int level, int image, std::string text);
void TreeSetRowColor(int gadget, int row, uint32_t rgb);
// Expands every row and leaves none selected.
void TreeExpandAll(int gadget);
int TreeSelectedRow(int gadget);
// A row's text as appended, "" for a row that does not exist.
std::string TreeRowText(int gadget, int row);
std::string TreeSelectedText(int gadget);

// ---- Popup menus ------------------------------------------------------------

// A menu of that number made before is replaced by an empty one.
bool CreatePopupMenu(int menu);
void AddMenuItem(int menu, int item, const std::string& text);
void AddMenuSeparator(int menu);
// Items added between these two go into a submenu of `menu`.
void BeginSubmenu(int menu, const std::string& text);
void EndSubmenu(int menu);
void ShowPopupMenu(int menu);
void FreeMenus();

// ---- Tray icon ---------------------------------------------------------------

// The icon in the notification area, with `tooltip`.  When the session bus
// has a status notifier watcher (panels without an XEmbed tray), the icon is
// published there instead, titled `tooltip`, with popup menu `menu`'s items
// as its menu: the host's Activate posts what a left click on the XEmbed
// icon posts, ContextMenu a right click, and a clicked item its EventMenu.
// It follows the watcher coming and going; without a session bus, only the
// XEmbed icon is tried.
bool AddTrayIcon(int window, int image, const std::string& tooltip, int menu = 0);
void RemoveTrayIcon();
// The rest of the status notifier item's tooltip, such as the identity and
// status, kept from before AddTrayIcon too; the XEmbed icon's tooltip does
// not change.
void SetTrayDetails(const std::string& text);

// ---- Desktop notifications ------------------------------------------------------

// Shows one desktop notification, with the tray icon's picture when there is
// a tray icon.  Returns at once: it is sent when a notification daemon on the
// session bus has answered; with no bus or no daemon, nothing happens and
// nothing is printed.
void Notify(const std::string& summary, const std::string& body);

// ---- Message boxes and the file chooser ---------------------------------------

enum class BoxAnswer { Ok, Yes, No, Closed };

struct FileFilter {
    std::string name;
    std::string pattern;
};

// Modal boxes.  Closing a question box through the window manager answers
// neither Yes nor No.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual void Ok(const std::string& title, const std::string& text) = 0;
    virtual BoxAnswer Ask(const std::string& title, const std::string& text) = 0;
    // A save-mode chooser; the chosen path, or "" when cancelled.
    virtual std::string ChooseSaveFile(const std::string& title, const std::string& proposedPath,
                                       const std::vector<FileFilter>& filters) = 0;
};
// Where the program's boxes go: centred on the screen unless it is given
// others.
extern MessageBoxes* Boxes;

void MessageOk(const std::string& title, const std::string& text);
BoxAnswer AskQuestion(const std::string& title, const std::string& text);
inline bool AskYesNo(const std::string& title, const std::string& text) {
    return AskQuestion(title, text) == BoxAnswer::Yes;
}
std::string ChooseSaveFile(const std::string& title, const std::string& proposedPath,
                           const std::vector<FileFilter>& filters);

// ---- Clipboard ----------------------------------------------------------------

// Puts the text on the desktop's CLIPBOARD selection.
void CopyToClipboard(const std::string& text);
