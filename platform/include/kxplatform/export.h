/* Symbol visibility for the platform library. */
#ifndef KXPLATFORM_EXPORT_H
#define KXPLATFORM_EXPORT_H

#define KXPLATFORM_API __attribute__((visibility("default")))

#endif
