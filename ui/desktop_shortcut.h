#pragma once
// "BOX.url" in the user's desktop folder, pointing at the box's page.
// Nothing is written when the folder or the file cannot be had.
bool writeDesktopShortcut(const char* boxIp);
