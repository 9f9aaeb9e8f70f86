#include "panel/files.h"

namespace core {

const char DisabledSuffix[] = ".Zarn";
static_assert(sizeof DisabledSuffix - 1 == kDisabledSuffixLength,
              "Enable cuts exactly the suffix off a disabled name");
const char MarkerFile[] = "expandmd81.mix";

const char* const ModFiles[10] = {
    "ecachemd80.mix", "glslmd.shp",     "ea_wwlogo.bik", "ra2md.csf", "glsmd.pal",
    "expandmd80.mix", "expandmd81.mix", "ra2ts_l.bik",   "rzarn.yro", "creditsmd.txt",
};

const char* const UninstallFiles[26] = {
    "ecachemd80.mix",
    "glslmd.shp",
    "ea_wwlogo.bik",
    "ra2md.csf",
    "glsmd.pal",
    "expandmd80.mix",
    "expandmd81.mix",
    "ra2ts_l.bik",
    "ecachemarrowgate80.mix",
    "marrowgate80.pkt",
    "merged01.pkt",
    "creditsmd.txt",
    "ecachemd80.mix.Zarn",
    "glslmd.shp.Zarn",
    "ea_wwlogo.bik.Zarn",
    "ra2md.csf.Zarn",
    "glsmd.pal.Zarn",
    "expandmd80.mix.Zarn",
    "expandmd81.mix.Zarn",
    "ra2ts_l.bik.Zarn",
    "ecachemarrowgate80.mix.Zarn",
    "marrowgate80.pkt.Zarn",
    "merged01.pkt.Zarn",
    "creditsmd.txt.Zarn",
    "rzarn.yro",
    "rzarn.yro.zarn",
};

const char* const CleanFiles[12] = {
    "Register.exe", "Register.ini", "notes.ico",      "patch.doc",      "Readme.doc",
    "INSTALL.LOG",  "launcher.txt", "Readme.txt",     "ecachemd98.mix", "expandmd98.mix",
    "ecachemarrowgate80.mix",       "marrowgate80.pkt",
};

const char GameExe[] = "RA2MD.exe";
const char PatchExe[] = "RockPatch.exe";

}  // namespace core
