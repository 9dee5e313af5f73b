// The program's own texts. The source is UTF-8; the compiler stores them as code-page-936 bytes.
#pragma once

inline constexpr char mainWindowCaption[] = "Kestrune [Beta0.0.1]";
inline constexpr char messageCaption[] = "信息：";
inline constexpr char patternNotFoundText[] = "未找到该字节集!";
inline constexpr char patchDoneText[] = "修改完毕!";
// Shown instead of patchDoneText when the patched copy could not be written.
inline constexpr char saveFailedText[] = "文件无法保存!";

inline constexpr char saveDialogInitialFileName[] = "修改后的文件";
inline constexpr char saveDialogFilter[] = "执行文件（*.exe）";
inline constexpr char saveDialogDefaultExtension[] = ".exe";

// Names of the controls in the main window's form.
inline constexpr char pathBoxName[] = "编辑框1";
inline constexpr char patternBoxName[] = "编辑框2";
inline constexpr char replacementBoxName[] = "编辑框3";
inline constexpr char modifyButtonName[] = "标题1";
inline constexpr char closeButtonName[] = "关闭";
inline constexpr char cornerCheckBoxName[] = "选择框1";
inline constexpr char modifyButtonCaption[] = "标题1";
inline constexpr char closeButtonCaption[] = "关闭";
inline constexpr char textBoxFaceName[] = "宋体";
