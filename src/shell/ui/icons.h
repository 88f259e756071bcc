// The toolbar and library-tree pictures, painted at run time.
#pragma once
#include <QIcon>
#include <QImage>

namespace orvo::shell::ui {

inline constexpr int kToolbarImageCount = 13;
inline constexpr int kTreeImageCount = 10;

// Tree images in the order of the image list: library, working folder, archive folder,
// archived object, working object selected, working object, section selected, section,
// borehole, borehole list.
enum TreeImage {
    kImgLibrary,
    kImgWorkingFolder,
    kImgArchiveFolder,
    kImgArchivedObject,
    kImgWorkingObjectSelected,
    kImgWorkingObject,
    kImgSectionSelected,
    kImgSection,
    kImgBorehole,
    kImgBoreholeList,
};

// 16x16, in the order of the toolbar strip.
QImage toolbarImage(int index);
// 20x20.
QImage treeImage(int index);
QIcon toolbarIcon(int index);
QIcon treeIcon(int index);

} // namespace orvo::shell::ui
