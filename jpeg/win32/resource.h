// Resource identifiers of Pixtune.dll.
#ifndef JPEG_WIN32_RESOURCE_H
#define JPEG_WIN32_RESOURCE_H

#define IDD_PLACEHOLDER 100
#define IDD_ABOUT 110
#define IDC_ABOUT_TEXT 1101

#define IDS_SAVE_FILTER 200
#define IDS_PLACEHOLDER_TEXT 201

#endif
