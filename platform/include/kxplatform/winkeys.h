/* Virtual-key codes of the keys a view answers to. Letter keys use their
 * upper-case character code. */
#ifndef KXPLATFORM_WINKEYS_H
#define KXPLATFORM_WINKEYS_H

#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_ADD 0x6B
#define VK_SUBTRACT 0x6D

#endif
