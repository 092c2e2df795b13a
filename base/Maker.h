// The maker's addresses: shown in the graph's caption and the about box, opened
// by the menu's home page and bug tracker commands and the about box's links.
#pragma once

inline constexpr const char* MakerHost = "quillmoor.example";
inline constexpr const char* MakerHomePage = "http://quillmoor.example/";
inline constexpr const char* MakerBugTracker =
    "http://quillmoor.example/mantis/set_project.php?project_id=4";
inline constexpr const char* MakerName = "Quillmoor";
inline constexpr const char* MakerEmail = "tarvelo@quillmoor.example";
