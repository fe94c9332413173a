// Every text the user sees, as the exact GBK (code page 936) bytes the tool
// writes, with the same text beside it as people read it (UTF-8). Only the
// bytes go into the program; scripts/check-texts.py (run with the lint) checks
// that each readable text, in GBK, is its bytes.
//
// The bytes are split into several literals where a hex escape is followed by
// a hex digit, which would otherwise extend the escape.
#ifndef WIFI_HOTSPOT_TEXTS_H
#define WIFI_HOTSPOT_TEXTS_H

#include "fixed-text.h"

// X(name, readable text, GBK bytes)
// clang-format off
#define WIFI_HOTSPOT_TEXTS(X)                                                                     \
    /* The menu, one row each. */                                                                 \
    X(MENU_TITLE, "笔记本无线网管理工具（请使用管理员权限运行）\t\t\t\t",                                      \
      "\xb1\xca\xbc\xc7\xb1\xbe\xce\xde\xcf\xdf\xcd\xf8\xb9\xdc\xc0\xed\xb9\xa4\xbe\xdf\xa3\xa8"  \
      "\xc7\xeb\xca\xb9\xd3\xc3\xb9\xdc\xc0\xed\xd4\xb1\xc8\xa8\xcf\xde\xd4\xcb\xd0\xd0\xa3\xa9"  \
      "\t\t\t\t")                                                                                 \
    X(MENU_OPEN, "一、开启无线网\t\t\t\t\t\t",                                                             \
      "\xd2\xbb\xa1\xa2\xbf\xaa\xc6\xf4\xce\xde\xcf\xdf\xcd\xf8\t\t\t\t\t\t")                     \
    X(MENU_CLOSE, "二、关闭无线网\t\t\t\t\t\t",                                                            \
      "\xb6\xfe\xa1\xa2\xb9\xd8\xb1\xd5\xce\xde\xcf\xdf\xcd\xf8\t\t\t\t\t\t")                     \
    X(MENU_CREATE, "三、创建无线网\t\t\t\t\t\t",                                                           \
      "\xc8\xfd\xa1\xa2\xb4\xb4\xbd\xa8\xce\xde\xcf\xdf\xcd\xf8\t\t\t\t\t\t")                     \
    X(MENU_END, "\t 输入1、2或3后按回车键\t",                                                            \
      "\t \xca\xe4\xc8\xeb"                                                                       \
      "1\xa1\xa2"                                                                                 \
      "2\xbb\xf2"                                                                                 \
      "3\xba\xf3\xb0\xb4\xbb\xd8\xb3\xb5\xbc\xfc\t")                                              \
    X(PROMPT, "请输入:", "\xc7\xeb\xca\xe4\xc8\xeb:")                                                \
    X(WRONG_CHOICE, "输入错误！", "\xca\xe4\xc8\xeb\xb4\xed\xce\xf3\xa3\xa1")                          \
    /* Results of the three operations. */                                                        \
    X(OPEN_OK, "ＷＩＦＩ开启成功!\n",                                                                     \
      "\xa3\xd7\xa3\xc9\xa3\xc6\xa3\xc9\xbf\xaa\xc6\xf4\xb3\xc9\xb9\xa6!\n")                      \
    X(OPEN_FAIL, "ＷＩＦＩ开启失败!\n",                                                                   \
      "\xa3\xd7\xa3\xc9\xa3\xc6\xa3\xc9\xbf\xaa\xc6\xf4\xca\xa7\xb0\xdc!\n")                      \
    X(CLOSE_OK, "ＷＩＦＩ关闭成功!\n",                                                                    \
      "\xa3\xd7\xa3\xc9\xa3\xc6\xa3\xc9\xb9\xd8\xb1\xd5\xb3\xc9\xb9\xa6!\n")                      \
    X(CLOSE_FAIL, "ＷＩＦＩ关闭失败!\n",                                                                  \
      "\xa3\xd7\xa3\xc9\xa3\xc6\xa3\xc9\xb9\xd8\xb1\xd5\xca\xa7\xb0\xdc!\n")                      \
    X(CREATE_OK, "ＷＩＦＩ创建成功!\n",                                                                   \
      "\xa3\xd7\xa3\xc9\xa3\xc6\xa3\xc9\xb4\xb4\xbd\xa8\xb3\xc9\xb9\xa6!\n")                      \
    X(CREATE_FAIL, "ＷＩＦＩ创建失败!\n",                                                                 \
      "\xa3\xd7\xa3\xc9\xa3\xc6\xa3\xc9\xb4\xb4\xbd\xa8\xca\xa7\xb0\xdc!\n")                      \
    /* Configuring: prompts and refusals. */                                                      \
    X(NAME_PROMPT, "请输入要设置的WIFI热点的名字:",                                                         \
      "\xc7\xeb\xca\xe4\xc8\xeb\xd2\xaa\xc9\xe8\xd6\xc3\xb5\xc4WIFI\xc8\xc8\xb5\xe3\xb5\xc4"      \
      "\xc3\xfb\xd7\xd6:")                                                                        \
    X(KEY_PROMPT, "请输入要设置的WIFI热点的密码(8个字母数字以上):",                                              \
      "\xc7\xeb\xca\xe4\xc8\xeb\xd2\xaa\xc9\xe8\xd6\xc3\xb5\xc4WIFI\xc8\xc8\xb5\xe3\xb5\xc4"      \
      "\xc3\xdc\xc2\xeb(8\xb8\xf6\xd7\xd6\xc4\xb8\xca\xfd\xd7\xd6\xd2\xd4\xc9\xcf):")             \
    X(KEY_SHORT, "密码不足8位数!\n",                                                                    \
      "\xc3\xdc\xc2\xeb\xb2\xbb\xd7\xe3"                                                          \
      "8\xce\xbb\xca\xfd!\n")                                                                     \
    X(KEY_AGAIN, "请重新输入要设置的密码:",                                                              \
      "\xc7\xeb\xd6\xd8\xd0\xc2\xca\xe4\xc8\xeb\xd2\xaa\xc9\xe8\xd6\xc3\xb5\xc4\xc3\xdc\xc2\xeb:") \
    X(TOO_LONG, "名字和密码太长，命令行放不下，请重新输入!\n",                                                 \
      "\xc3\xfb\xd7\xd6\xba\xcd\xc3\xdc\xc2\xeb\xcc\xab\xb3\xa4\xa3\xac\xc3\xfc\xc1\xee\xd0\xd0"  \
      "\xb7\xc5\xb2\xbb\xcf\xc2\xa3\xac\xc7\xeb\xd6\xd8\xd0\xc2\xca\xe4\xc8\xeb!\n")              \
    X(UNUSABLE, "含有命令行无法原样传递的字符!\n",                                                          \
      "\xba\xac\xd3\xd0\xc3\xfc\xc1\xee\xd0\xd0\xce\xde\xb7\xa8\xd4\xad\xd1\xf9\xb4\xab\xb5\xdd"  \
      "\xb5\xc4\xd7\xd6\xb7\xfb!\n")                                                              \
    /* The press-any-key prompt where no "pause" command writes its own. */                     \
    X(PRESS_KEY, "请按任意键继续. . .", "\xc7\xeb\xb0\xb4\xc8\xce\xd2\xe2\xbc\xfc\xbc\xcc\xd0\xf8. . .")
// clang-format on

namespace text {
// Each text is a fixed text buffer of its own: the bytes, then zeros.
#define WIFI_HOTSPOT_TEXT(name, readable, gbk) inline constexpr char name[TEXT_SIZE] = gbk;
WIFI_HOTSPOT_TEXTS(WIFI_HOTSPOT_TEXT)
#undef WIFI_HOTSPOT_TEXT
} // namespace text

#endif
