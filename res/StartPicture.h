// The picture of the start view (bitmap IDB_ABOUT_PICTURE): a bridge with a truck crossing it.
#pragma once

class CBitmap;

// Makes the picture in bitmap (any previous bitmap is dropped); false when it cannot be made.
bool LoadStartPicture(CBitmap& bitmap);
