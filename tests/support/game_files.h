// The game-folder names (in the order the commands work on them) and texts the
// tests expect, written out rather than taken from panel/, so that wrong ones show.
#pragma once

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace game_files {

inline const std::vector<std::string> kModFiles = {
    "ecachemd80.mix", "glslmd.shp",     "ea_wwlogo.bik", "ra2md.csf", "glsmd.pal",
    "expandmd80.mix", "expandmd81.mix", "ra2ts_l.bik",   "rzarn.yro", "creditsmd.txt"};
inline const std::vector<std::string> kUninstallFiles = {
    "ecachemd80.mix", "glslmd.shp", "ea_wwlogo.bik", "ra2md.csf", "glsmd.pal", "expandmd80.mix",
    "expandmd81.mix", "ra2ts_l.bik", "ecachemarrowgate80.mix", "marrowgate80.pkt", "merged01.pkt",
    "creditsmd.txt", "ecachemd80.mix.Zarn", "glslmd.shp.Zarn", "ea_wwlogo.bik.Zarn",
    "ra2md.csf.Zarn", "glsmd.pal.Zarn", "expandmd80.mix.Zarn", "expandmd81.mix.Zarn",
    "ra2ts_l.bik.Zarn", "ecachemarrowgate80.mix.Zarn", "marrowgate80.pkt.Zarn",
    "merged01.pkt.Zarn", "creditsmd.txt.Zarn", "rzarn.yro", "rzarn.yro.zarn"};
inline const std::vector<std::string> kCleanFiles = {
    "Register.exe", "Register.ini", "notes.ico", "patch.doc", "Readme.doc", "INSTALL.LOG",
    "launcher.txt", "Readme.txt", "ecachemd98.mix", "expandmd98.mix", "ecachemarrowgate80.mix",
    "marrowgate80.pkt"};

inline const char kNotInGameFolder[] = "Please Place Control Panal Exe into Ra2:Yr Folder";
inline const char kQuestion[] = "Are You Sure You Would Like To Uninstall ZARN??";
inline const char kPatchDone[] = "You done yet???";

// Contents that differ from file to file and hold the bytes a careless copy
// would spoil: NULs, CR LF, 0xFF.
inline std::string Data(const std::string& name, std::size_t size = 4099) {
    std::minstd_rand random(std::hash<std::string>()(name));
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = i % 97 < 2 ? "\r\n"[i % 97] : (char)random();
    return s;
}

}  // namespace game_files
