// Renders the game's sound effects into the folder given on the command line:
//   soundsynth <outdir>
// Every file is rendered from fixed seeds, so two builds produce the same bytes.
#include "Recipes.h"
#include "Wav.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: soundsynth <output folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder)) {
        std::cerr << "soundsynth: cannot create " << folder.string() << ": "
                  << (error ? error.message() : "not a folder") << "\n";
        return 1;
    }
    int failures = 0;
    for (const soundsynth::Recipe& recipe : soundsynth::soundRecipes()) {
        const std::filesystem::path file = folder / (std::string(recipe.name) + ".wav");
        const std::string problem = soundsynth::writeWavFile(file, recipe.render());
        if (!problem.empty()) {
            std::cerr << "soundsynth: " << problem << "\n";
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
