#pragma once

#include "FolderItem.h"
#include "Ref.h"

// A small fixed tree for the path check, made once per process in a fresh
// temporary folder and installed as the volume table; it goes away with
// everything in it when the process ends normally.
//
//   HD/mat                the material's folder (startup volume HD)
//   HD/mat/tex            a.jpg, glass.ior, co:lon.jpg, caf\xE9.png (Latin-1),
//                         b.jpg (a FIFO), up -> .. (a link that loops back)
//   HD/mat/.hidden        sky.r2
//   HD/mat/bitmaps        bm.ior (the folder named like the block keyword)
//   HD/mat/lib            -> ../../Data/lib (a link to another volume)
//   HD/mat/gone.jpg       -> a file that does not exist
//   Data/lib              glass.ior, x.r2
//   HD2/tex               glass2.ior, sky2.r2 (stored as "2/tex/...")
//
// The default search locations are Data:lib and HD2:tex, so no search
// reaches outside the tree. Returns the material's file in HD/mat, never written.
const Ref<FolderItem>& fuzzMaterialFile();
