#ifndef SKIFF_CORE_DATAPATHS_H
#define SKIFF_CORE_DATAPATHS_H

// The files the game opens, relative to its working directory (the data/ tree).
// The game, its tools, tests and benchmarks all name them from here.
class DataPaths {
public:
    static constexpr const char* Intro = "intro/intro.pcx";
    static constexpr const char* Font = "bmp/fontes.bmp";
    static constexpr const char* Player = "bmp/player.bmp";
    static constexpr const char* Shot = "bmp/shoot.bmp";
    // The two explosion kinds, in the order aliens.def numbers them.
    static constexpr const char* Explosions[2] = {"bmp/boom.bmp", "bmp/boom2.bmp"};
    // The alien picture the shipped aliens.def names.
    static constexpr const char* Alien = "bmp/alien.bmp";

    // The level directory the game loads, with its separator, and the names of its three files.
    static constexpr const char* Level = "level0/";
    static constexpr const char* LevelDescription = "level.def";
    static constexpr const char* LevelPictures = "level.dat";
    static constexpr const char* AlienFile = "aliens.def";
};

#endif
