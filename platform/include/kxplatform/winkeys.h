/* Virtual-key codes. Letter and digit keys use their upper-case character
 * code ('A'..'Z', '0'..'9'). */
#ifndef KXPLATFORM_WINKEYS_H
#define KXPLATFORM_WINKEYS_H

#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_ADD 0x6B
#define VK_SUBTRACT 0x6D
#define VK_F1 0x70
#define VK_OEM_PLUS 0xBB
#define VK_OEM_MINUS 0xBD

#endif
