#pragma once
// Where the controls of Quelmain's main window sit on its skin, which pictures they show,
// and the colours and fonts the skin expects of them.
//
// The skin pictures are drawn to these numbers: res/draw_pictures.py reads this file, so a
// control placed from here lines up with its picture. Change a number here only together
// with drawing the pictures again. (The script reads the lines of the forms written below:
// one constant per line, a Rect as {Left, Top, Width, Height}.)
//
// Rectangles are in pixels of the control's parent: the main window's client area, or the
// top-left corner of the frame that holds the control.

namespace MainLayout {

struct Rect {
    int Left;
    int Top;
    int Width;
    int Height;
};

// A colour in the system's COLORREF layout (0x00BBGGRR), ready for a TColor.
constexpr unsigned long Rgb(int r, int g, int b)
{
    return static_cast<unsigned long>(r) | (static_cast<unsigned long>(g) << 8) |
           (static_cast<unsigned long>(b) << 16);
}

// ---- The window ---------------------------------------------------------------------------

constexpr Rect Form{0, 0, 519, 436};     // client size; the outline is cut for "MainFm"
constexpr Rect Image1{0, 0, 519, 436};   // the skin picture, which also drags the window

constexpr Rect MyGraphicBtn1{431, 14, 22, 22};   // Help
constexpr Rect MyGraphicBtn7{457, 14, 22, 22};   // Minimize
constexpr Rect MyGraphicBtn6{483, 14, 22, 22};   // Close

// The page buttons sit on the page like tabs: the chosen one opens into it.
constexpr Rect WhatClBtn{34, 64, 104, 29};   // the item groups
constexpr Rect OptBtn{140, 64, 104, 29};     // the settings page
constexpr Rect MyGraphicLabel3{256, 70, 104, 15};   // current group name

// The page: item groups or settings, with the scroll bar beside the item groups. The
// settings page also covers the scroll bar's place, which it hides while it is shown.
constexpr Rect MainFrame{34, 93, 316, 268};
constexpr Rect SettingsFrame{34, 93, 331, 268};
constexpr Rect StretchScroll1{350, 93, 15, 268};
constexpr int ScrollStep = 5;
constexpr int ScrollLargeStep = 25;

constexpr Rect MyGraphicBtn4{384, 88, 117, 46};   // wipe mode fastest (0 passes)
constexpr Rect MyGraphicBtn5{384, 137, 117, 46};  // wipe mode medium (1 pass)
constexpr Rect MyGraphicBtn8{384, 186, 117, 46};  // wipe mode slowest (5 passes)

constexpr Rect MyGraphicLabel4{409, 281, 88, 15};   // time of the last run, "00:00"
constexpr Rect MyGraphicLabel5{409, 332, 88, 15};   // minutes to the next timed run
constexpr Rect MyGraphicLabel2{409, 281, 88, 15};   // the clock text, never shown

constexpr Rect MyGraphicLabel1{58, 381, 306, 30};   // hint line: two lines, multi-line, bold
constexpr Rect MyGraphicBtn3{378, 370, 129, 52};    // Clean

// ---- The item groups (children of MainFrame) ----------------------------------------------

constexpr int FrameWidth = 316;
constexpr int CollapsedHeight = 33;

// Every group frame starts with the same header strip: the header picture, the group box,
// the group icon (a picture button showing its off picture) and the header caption.
namespace Header {
constexpr Rect Image{0, 0, 316, 33};
constexpr Rect GroupBox{8, 9, 15, 15};
constexpr Rect GroupIcon{28, 4, 24, 24};
constexpr Rect Caption{58, 8, 200, 17};
}  // namespace Header

// Rows of option buttons below the header: 17 pixels apart, 15 high. Items start at 10,
// the temporary-internet-files choices are indented under their item.
constexpr int RowTop = 36;
constexpr int RowPitch = 17;
constexpr int RowHeight = 15;
constexpr int ItemLeft = 10;
constexpr int SubItemLeft = 30;
constexpr int ItemWidth = 290;

// IETFrame1: header MyRndRectBtn12, group box MyRndRectBtn, group icon MyGraphicBtn1.
namespace IETFrame {
constexpr int ExpandedHeight = 288;
constexpr Rect MyRndRectBtn1{10, 36, 290, 15};    // Temporary Internet Files
constexpr Rect MyRndRectBtn8{30, 53, 270, 15};    // Delete All
constexpr Rect MyRndRectBtn9{30, 70, 270, 15};    // Delete only pages
constexpr Rect MyRndRectBtn10{30, 87, 270, 15};   // Delete only graphical objects
constexpr Rect MyRndRectBtn2{10, 104, 146, 15};   // Cookies
constexpr Rect MyGraphicBtn2{162, 103, 146, 17};  // Select Cookies to keep
constexpr Rect MyRndRectBtn3{10, 121, 290, 15};   // History
constexpr Rect MyRndRectBtn4{10, 138, 290, 15};   // Address Bar
constexpr Rect MyRndRectBtn5{10, 155, 290, 15};   // Downloaded Program Files
constexpr Rect MyRndRectBtn6{10, 172, 290, 15};   // Index.Dat files
constexpr Rect MyRndRectBtn7{10, 189, 146, 15};   // Expired (certificates)
constexpr Rect MyGraphicBtn3{162, 188, 146, 17};  // View stored Certificates
constexpr Rect MyRndRectBtn11{10, 206, 290, 15};  // AutoComplete passwords
constexpr Rect MyRndRectBtn13{10, 223, 290, 15};  // AutoComplete forms
constexpr Rect MyRndRectBtn14{10, 240, 290, 15};  // Home page
constexpr Rect MyRndRectBtn15{10, 257, 290, 15};  // URL prefixes
}  // namespace IETFrame

// WinTFrame1: header MyRndRectBtn11, group box MyRndRectBtn, group icon MyGraphicBtn1.
namespace WinTFrame {
constexpr int ExpandedHeight = 229;
constexpr Rect MyRndRectBtn1{10, 36, 290, 15};    // Start \ Documents
constexpr Rect MyRndRectBtn2{10, 53, 290, 15};    // Start \ Find
constexpr Rect MyRndRectBtn3{10, 70, 290, 15};    // Start \ Run
constexpr Rect MyRndRectBtn4{10, 87, 290, 15};    // Recycle Bin
constexpr Rect MyRndRectBtn5{10, 104, 290, 15};   // Temp folder
constexpr Rect MyRndRectBtn6{10, 121, 290, 15};   // Scandisk files
constexpr Rect MyRndRectBtn7{10, 138, 290, 15};   // Accessories lists
constexpr Rect MyRndRectBtn8{10, 155, 290, 15};   // MS Office lists
constexpr Rect MyRndRectBtn9{10, 172, 290, 15};   // Streams lists
constexpr Rect MyRndRectBtn10{10, 189, 290, 15};  // Last Logon User
constexpr Rect MyRndRectBtn12{10, 206, 290, 15};  // Media Player list
}  // namespace WinTFrame

// NetTFrame1: header MyRndRectBtn6, group box MyRndRectBtn, group icon MyGraphicBtn1.
namespace NetTFrame {
constexpr int ExpandedHeight = 121;
constexpr Rect MyRndRectBtn1{10, 36, 290, 15};    // History
constexpr Rect MyRndRectBtn2{10, 53, 290, 15};    // Address Bar
constexpr Rect MyRndRectBtn3{10, 70, 290, 15};    // Cache
constexpr Rect MyRndRectBtn4{10, 87, 146, 15};    // Cookies
constexpr Rect MyGraphicBtn2{162, 86, 146, 17};   // Select Cookies to keep
constexpr Rect MyRndRectBtn5{10, 104, 290, 15};   // Saved Passwords
}  // namespace NetTFrame

// ---- The settings page (children of SettingsFrame) ----------------------------------------
// Its picture fills the frame and carries the page's title. The two caption buttons without
// a picture (MyRndRectBtn6, MyRndRectBtn1) take the check-box list with picture numbers 0,
// so that their text lines up with the others.

namespace SettingsPage {
constexpr Rect Image{0, 0, 331, 268};
constexpr Rect MyRndRectBtn11{181, 8, 142, 17};   // View last cleans report, on the title strip
constexpr Rect MyRndRectBtn2{10, 38, 300, 15};    // Save on exit
constexpr Rect MyRndRectBtn3{10, 55, 300, 15};    // Autorun
constexpr Rect MyRndRectBtn8{10, 72, 300, 15};    // Start minimized
constexpr Rect MyRndRectBtn7{10, 89, 300, 15};    // Don't show Logo on start
constexpr Rect MyRndRectBtn9{10, 106, 300, 15};   // pop-up hints
constexpr Rect MyRndRectBtn10{10, 123, 300, 15};  // wiping from the context menu
constexpr Rect MyRndRectBtn4{10, 140, 300, 15};   // Clean on start
constexpr Rect MyRndRectBtn5{10, 177, 180, 15};   // Clean every
constexpr Rect ComboBox1{200, 174, 120, 21};
constexpr Rect MyRndRectBtn6{10, 204, 180, 15};   // Netscape 6x / Mozilla Profile
constexpr Rect ComboBox2{200, 201, 120, 21};
constexpr Rect MyRndRectBtn1{10, 231, 180, 15};   // Language
constexpr Rect ComboBox3{200, 228, 120, 21};
}  // namespace SettingsPage

// ---- Colours and fonts ----------------------------------------------------------------------

constexpr unsigned long PageColor = Rgb(255, 255, 255);       // frames, item captions
constexpr unsigned long HeaderColor = Rgb(228, 233, 241);     // header captions' background
constexpr unsigned long HeaderTextColor = Rgb(30, 36, 48);
constexpr unsigned long LinkTextColor = Rgb(36, 84, 170);      // "View last cleans report"
constexpr unsigned long ItemTextColor = Rgb(0, 0, 0);
constexpr unsigned long ItemHoverColor = Rgb(0, 0, 255);
constexpr unsigned long DisplayColor = Rgb(40, 48, 62);       // background of the four labels
constexpr unsigned long HintTextColor = Rgb(232, 237, 245);   // MyGraphicLabel1
constexpr unsigned long GroupTextColor = Rgb(255, 255, 255);  // MyGraphicLabel3
constexpr unsigned long TimeTextColor = Rgb(150, 205, 255);   // MyGraphicLabel4 and 5

// Labels: bold. Option buttons: regular, header captions bold.
constexpr const char* LabelFont = "MS Sans Serif";
constexpr int LabelFontHeight = -11;
constexpr const char* ItemFont = "Arial";
constexpr int ItemFontHeight = -12;

// ---- Pictures -------------------------------------------------------------------------------
// Resource names of the bitmaps (res/Skins.rc). An image list is a horizontal strip of equal
// pictures, numbered from 1 for the skinned controls (0 = none).

constexpr const char* SkinPicture = "MAINSKIN";              // Image1
constexpr const char* CleanPictures = "MAINCLEAN";           // 129 x 52
constexpr const char* HelpPictures = "MAINHELP";             // 22 x 22
constexpr const char* MinimizePictures = "MAINMINIMIZE";     // 22 x 22
constexpr const char* ClosePictures = "MAINCLOSE";           // 22 x 22
constexpr const char* WipeModePictures = "WIPEMODES";        // 117 x 46
constexpr const char* PagePictures = "PAGEBUTTONS";          // 104 x 29
constexpr const char* GroupIconPictures = "GROUPICONS";      // 24 x 24
constexpr const char* FrameHeaderPicture = "FRAMEHEADER";    // Header::Image of every group
constexpr const char* FrameButtonPictures = "FRAMEBUTTONS";  // 146 x 17
constexpr const char* SettingsPicture = "SETTINGSPAGE";      // SettingsPage::Image
constexpr const char* MenuPictures = "POPUPMENUIMAGES";      // PopUpMenuImageList16x16

// Push buttons (Clean, Help, Minimize, Close, each in a list of its own): off = Normal; on =
// Lit for an ssOnOver button, Pressed for an ssSimple one.
constexpr int Normal = 1;
constexpr int Lit = 2;
constexpr int Pressed = 3;

// Latching buttons (ssDownMode): off = up, on = chosen.
constexpr int FastestUp = 1, FastestChosen = 2;
constexpr int MediumUp = 3, MediumChosen = 4;
constexpr int SlowestUp = 5, SlowestChosen = 6;
constexpr int ItemsPageUp = 1, ItemsPageChosen = 2;         // WhatClBtn
constexpr int SettingsPageUp = 3, SettingsPageChosen = 4;   // OptBtn

// Group icons (ssPicture, on = off): one picture each.
constexpr int InternetExplorerIcon = 1;
constexpr int WindowsIcon = 2;
constexpr int NetscapeIcon = 3;
constexpr int SettingsIcon = 4;

// Frame buttons: three pictures each, as the push buttons above, from these.
constexpr int SelectCookiesFirst = 1;   // 1 normal, 2 lit, 3 pressed
constexpr int ViewCertificatesFirst = 4;   // 4 normal, 5 lit, 6 pressed

// The tray and menu list: 16 x 16, counted from 0 as the menu and the tray icon count,
// magenta (255, 0, 255) marking the see-through pixels.
constexpr int MenuPictureSize = 16;
constexpr unsigned long MenuTransparentColor = Rgb(255, 0, 255);
constexpr int BlockerOffImage = 0;      // "Activate Breviker"
constexpr int BlockerOnImage = 1;       // "Deactivate Breviker"
constexpr int TrayNormalImage = 2;      // blocker off
constexpr int TrayBlockerImage = 3;     // blocker on
constexpr int TrayPausedImage = 4;      // blocker on, paused while Ctrl is held
constexpr int MinimizeImage = 5;
constexpr int RestoreImage = 6;
constexpr int CleanNowImage = 7;
constexpr int AboutImage = 8;
constexpr int CloseImage = 9;

}  // namespace MainLayout
