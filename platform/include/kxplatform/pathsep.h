/* The native path separator. Code written against backslash paths uses
 * these names so it reads the same on every platform. */
#ifndef KXPLATFORM_PATHSEP_H
#define KXPLATFORM_PATHSEP_H

#define KX_PATH_SEPARATOR '/'
#define KX_PATH_SEPARATOR_STR "/"

#endif
