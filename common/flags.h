// Every bit and field of the flag words that the settings program stores, the main program hands
// over with SetHookFlag and the hook library obeys. Both deliverables take their masks from here.
#pragma once
#include <cstdint>

namespace qorv {

// Defaults written to a fresh "Qorv.ini".
constexpr uint32_t kMainFlagDefault = 0x05010014;
constexpr uint32_t kWheelFlagDefault = 0x053F0BE9;
constexpr uint32_t kWndFlagDefault = 0x050A040D;
constexpr uint32_t kDebugFlagDefault = 0;
constexpr uint32_t kBtnFlagDefault = 0;

// MainFlag: general functions.
namespace main_flag {
constexpr uint32_t kWheelFront = 0x00000004;          // wheel brings a window to the front
constexpr uint32_t kTempTranslucent = 0x00000008;     // make a window temporarily translucent
constexpr uint32_t kTrayVolume = 0x00000010;          // wheel over the tray icon controls the volume
constexpr uint32_t kNoTrayIcon = 0x00000020;          // no tray icon
constexpr uint32_t kWheelClickSuspend = 0x00000040;   // wheel click suspends the functions
constexpr uint32_t kIconBitmapFile = 0x00000080;      // load the icon bitmap file
constexpr uint32_t kFrameDrag = 0x00000100;           // frame drag with the right button held
constexpr uint32_t kRollUp = 0x00000200;              // right click on the caption rolls up
constexpr uint32_t kRenameAid = 0x00000400;           // F2 selects the name without its extension
constexpr uint32_t kEditSelectAll = 0x00000800;       // Ctrl+A selects all in edit controls
constexpr uint32_t kNoWinKeyStart = 0x00001000;       // Win key does not open the Start menu
constexpr uint32_t kDoubleClickUpFolder = 0x00002000; // double click on empty space: parent folder
constexpr uint32_t kWheelClickUpFolder = 0x00004000;  // middle click on a file list: parent folder
constexpr uint32_t kScrollPosReport = 0x00008000;     // report thumb drags, right click shows position
constexpr uint32_t kDesktopVolume = 0x00010000;       // Shift+wheel on the desktop controls the volume
constexpr uint32_t kWheelTranslucent = 0x00020000;    // wheel over the caption steps translucency
constexpr uint32_t kDesktopDblClickReport = 0x00040000; // report desktop double clicks regardless
constexpr uint32_t kInitialLevelMask = 0x0F000000;    // initial wheel translucency level 1-9
constexpr uint32_t kInitialLevelShift = 24;
constexpr uint32_t kSkipOtherBitness = 0x10000000;    // leave wheels over windows of the other bitness

// Bits the settings pages show; everything else keeps its loaded value.
constexpr uint32_t kPageBits = kWheelFront | kTempTranslucent | kTrayVolume | kNoTrayIcon |
    kWheelClickSuspend | kIconBitmapFile | kFrameDrag | kRollUp | kRenameAid | kEditSelectAll |
    kNoWinKeyStart | kDoubleClickUpFolder | kWheelClickUpFolder | kScrollPosReport | kDesktopVolume |
    kWheelTranslucent | kInitialLevelMask;
// Any of these makes the message hook swallow the wheel over a caption.
constexpr uint32_t kCaptionWheelBits = kWheelFront | kTempTranslucent | kWheelTranslucent;
}  // namespace main_flag

// WheelFlag, and EntryWheelFlag of the per-window table.
namespace wheel_flag {
constexpr uint32_t kForwardToPointer = 0x00000001;  // send the wheel to the window under the cursor
constexpr uint32_t kForwardTransparent = 0x00000002; // deepest window, looking through transparent ones
constexpr uint32_t kActivate = 0x00000004;          // global: activate; per window: focus
constexpr uint32_t kMdiActivate = 0x00000008;       // global: MDI activation; per window: keep the notch
constexpr uint32_t kVertScroll = 0x00000010;        // plain wheel becomes vertical scrolling
constexpr uint32_t kShiftHorzScroll = 0x00000020;   // Shift+wheel becomes horizontal scrolling
constexpr uint32_t kDetectVertBar = 0x00000040;     // convert over a vertical scroll bar
constexpr uint32_t kDetectHorzBar = 0x00000080;     // convert over a horizontal scroll bar
constexpr uint32_t kSearchScrollBar = 0x00000100;   // scroll mode: search bars; key mode: swap keys
constexpr uint32_t kPrecise = 0x00000200;           // precise scrolling ramp
constexpr uint32_t kCursorKeys = 0x00000400;        // key mode
constexpr uint32_t kCtrlPage = 0x00000800;          // Ctrl switches between lines and pages
constexpr uint32_t kVertCountMask = 0x000F0000;     // 0 none, 1-10 lines, 15 page
constexpr uint32_t kVertCountShift = 16;
constexpr uint32_t kHorzCountMask = 0x00F00000;     // 0 none, 1-10 columns, 15 page
constexpr uint32_t kHorzCountShift = 20;
constexpr uint32_t kPreciseTimeMask = 0x0F000000;   // ramp time window in 100 ms units
constexpr uint32_t kPreciseTimeShift = 24;
constexpr uint32_t kCountPage = 15;                 // count field value meaning "one page"
}  // namespace wheel_flag

// WndFlag, and EntryWndFlag of the per-window table.
namespace wnd_flag {
constexpr uint32_t kSnap = 0x00000001;             // snap while moving and sizing
constexpr uint32_t kSnapHide = 0x00000002;         // no covering analysis
constexpr uint32_t kSnapRgn = 0x00000004;          // use window-region bounding boxes
constexpr uint32_t kNoSnapLay = 0x00000008;        // layered click-through windows are no targets
constexpr uint32_t kNoSnapChildWnd = 0x00000010;   // child windows are not snapped
constexpr uint32_t kNoSnapRgnClient = 0x00000020;  // shift a child's parent bound by the region inset
constexpr uint32_t kSnapInner = 0x00000080;        // snap on the inside of windows too
constexpr uint32_t kMoveTranslucent = 0x00000100;  // translucent while moving
constexpr uint32_t kSizeTranslucent = 0x00000200;  // translucent while sizing
constexpr uint32_t kNoDirectXTranslucent = 0x00000400; // no translucency while DirectX is loaded
constexpr uint32_t kShowSize = 0x00001000;         // report sizes while sizing
constexpr uint32_t kSnapPixelsMask = 0x00FF0000;   // snap distance 1-50 pixels, global word only
constexpr uint32_t kSnapPixelsShift = 16;
constexpr uint32_t kLevelMask = 0x0F000000;        // move/size translucency level 1-9
constexpr uint32_t kLevelShift = 24;

constexpr uint32_t kPageBits = kSnap | kSnapHide | kSnapRgn | kNoSnapLay | kNoSnapChildWnd |
    kNoSnapRgnClient | kSnapInner | kMoveTranslucent | kSizeTranslucent | kNoDirectXTranslucent |
    kShowSize | kSnapPixelsMask | kLevelMask;
}  // namespace wnd_flag

// ExtraFlag: composed by the main program.
namespace extra_flag {
constexpr uint32_t kMapNumberMask = 0x0000FFFF;  // number completing the per-window mapping's name
constexpr uint32_t kMapTableOn = 0x00010000;     // per-window table on
}  // namespace extra_flag

// DebugFlag: the debug dialog.
namespace debug_flag {
constexpr uint32_t kHookKindMask = 0x0000FFFF;   // bit (kind + 1): block that hook kind
constexpr uint32_t kStartBlocking = 0x00100000;  // start blocking at start-up
constexpr uint32_t kForegroundOnly = 0x00200000; // block only for the foreground window
constexpr uint32_t kShowGetMsgHook = 0x01000000;
constexpr uint32_t kShowMouseHook = 0x02000000;
constexpr uint32_t kShowLLMouseReports = 0x10000000;

// Bit of a hook kind (WH_MSGFILTER = -1 ... WH_MOUSE_LL = 14) in the block mask.
constexpr uint32_t HookKindBit(int kind) { return (kind >= -1 && kind <= 14) ? 1u << (kind + 1) : 0u; }
}  // namespace debug_flag

// BtnFlag: first word of the mouse-button block.
namespace btn_flag {
constexpr uint32_t kStartAtLaunch = 0x00000001;   // start the conversion at start-up
constexpr uint32_t kWheelToPointer = 0x00000002;  // unconverted wheel turns go to the window under the cursor
}  // namespace btn_flag

// Condition word of a button conversion.
namespace btn_cond {
constexpr uint32_t kLeft = 0x00000001;
constexpr uint32_t kRight = 0x00000002;
constexpr uint32_t kMiddle = 0x00000010;
constexpr uint32_t kX1 = 0x00000020;
constexpr uint32_t kX2 = 0x00000040;
constexpr uint32_t kHeldButtonMask = kLeft | kRight | kMiddle | kX1 | kX2;
constexpr uint32_t kAlt = 0x00000100;
constexpr uint32_t kCtrl = 0x00000200;
constexpr uint32_t kShift = 0x00000400;
constexpr uint32_t kWin = 0x00000800;
constexpr uint32_t kModifierMask = kAlt | kCtrl | kShift | kWin;
constexpr uint32_t kButtonIndexMask = 0x0000F000;  // converted button, 0-6
constexpr uint32_t kButtonIndexShift = 12;
constexpr uint32_t kEnabled = 0x00010000;
constexpr uint32_t kSuppressButton = 0x00020000;
constexpr uint32_t kReport = 0x00040000;
constexpr uint32_t kPostMessages = 0x00080000;
}  // namespace btn_cond

// A 4-bit level field (1-9) as alpha 25 x level, taken in 8 bits.
constexpr uint8_t LevelAlpha(uint32_t word, uint32_t mask, uint32_t shift) {
  return static_cast<uint8_t>(25u * ((word & mask) >> shift));
}
constexpr uint32_t Field(uint32_t word, uint32_t mask, uint32_t shift) { return (word & mask) >> shift; }

}  // namespace qorv
