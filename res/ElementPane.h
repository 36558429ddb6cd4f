// Resource ids of the element tree pane (commands, menus, accelerators, toolbar) and its item
// images.
#pragma once

#include "platform/core/Types.h"

class CImageList;

inline constexpr UINT ID_ELEMENT_EXPAND_ALL = 220;
inline constexpr UINT ID_ELEMENT_DELETE = 221;
inline constexpr UINT ID_ELEMENT_RENAME = 222;
inline constexpr UINT ID_ELEMENT_COPY = 223;
inline constexpr UINT ID_ELEMENT_CUT = 224;
inline constexpr UINT ID_ELEMENT_PASTE = 225;
inline constexpr UINT IDB_ELEMENT_IMAGES = 226;
inline constexpr UINT IDB_ELEMENT_IMAGES_HC = 227;
inline constexpr UINT IDR_ELEMENT_TOOLBAR = 228;
inline constexpr UINT IDR_ELEMENT_TOOLBAR_HC = 229;
inline constexpr UINT IDR_ELEMENT_MENU_MAIN = 230;     // the sections, empty space
inline constexpr UINT IDR_ELEMENT_MENU_ENSEMBLE = 231; // an ensemble
inline constexpr UINT IDR_ELEMENT_MENU_ELEMENT = 232;  // any other element; also the pane's keys
inline constexpr UINT ID_CONFIGURATION_ADD_REF_SET = 32795;
inline constexpr UINT ID_ELEMENT_TREE = 40;

// Item images, in this order: sections, case information and results, (unused), reference
// collections, bridges and bridge sets, load models and ensembles.
inline constexpr int kImageSection = 0;
inline constexpr int kImageInformation = 1;
inline constexpr int kImageRefCollection = 3;
inline constexpr int kImageBridge = 4;
inline constexpr int kImageLoadModel = 5;

// Fills an image list with the pane's 16-pixel item images (magenta transparent).
void LoadElementImages(CImageList& images);
