// find-finish: searches for a key script that takes the blob from the start to
// the finish shelf, by a beam search over short key chunks on the simulated
// frame loop, and writes it in the driver's script format. When no branch
// gets further, the script of the furthest one is written instead.
#include "course_sim.h"
#include "key_script.h"
#include "route.h"
#include <present/present.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace find_finish;

// Length of route over which the beam keeps one trailing state.
constexpr float kStretch = 12;

struct TOptions {
    std::uint32_t clockStart = 1000000;
    int beam = 48;
    int chunk = 6;
    int maxFrames = 9000;
    float offLimit = 90;
    std::string output = "finish.keys";
    std::string prefix; // a script whose first prefixFrames frames are kept
    int prefixFrames = 0;
};

// One chunk of frames: which arrow is held and whether Up is pressed first.
struct TAction {
    char arrow; // 'L', 'R' or 'N'
    bool up;
};

const TAction kActions[] = {{'R', false}, {'L', false}, {'N', false},
                            {'R', true},  {'L', true},  {'N', true}};

struct TNode {
    TSnapshot snapshot;
    std::shared_ptr<const TNode> parent;
    TAction action{'N', false};
    int segment = 0;
    float score = 0;
};
using NodeRef = std::shared_ptr<const TNode>;

std::vector<TAction> History(const NodeRef& node) {
    std::vector<TAction> history;
    for (const TNode* n = node.get(); n && n->parent; n = n->parent.get()) {
        history.push_back(n->action);
    }
    std::reverse(history.begin(), history.end());
    return history;
}

// The keys of every frame of a plan: prefix[i] for frame i + 1, then the
// chunks of history.
std::vector<TFrameKeys> Plan(const std::vector<TFrameKeys>& prefix,
                             const std::vector<TAction>& history, int chunk) {
    std::vector<TFrameKeys> plan = prefix;
    for (const TAction& action : history) {
        for (int f = 0; f < chunk; ++f) {
            plan.push_back({action.arrow == 'L', action.arrow == 'R', action.up && f == 0});
        }
    }
    return plan;
}

// Writes the driver script: Enter for the menu, then the key changes frame by
// frame, then Escape at endFrame.
bool WriteScript(const std::string& path, const std::vector<TFrameKeys>& plan, int endFrame) {
    std::ofstream out(path);
    out << "0 press ENTER\n";
    TFrameKeys held;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const int frame = static_cast<int>(i) + 1;
        const TFrameKeys& keys = plan[i];
        if (keys.left != held.left) {
            out << frame << (keys.left ? " down" : " up") << " LEFT\n";
        }
        if (keys.right != held.right) {
            out << frame << (keys.right ? " down" : " up") << " RIGHT\n";
        }
        if (keys.up) {
            out << frame << " press UP\n";
        }
        held = keys;
        held.up = false;
    }
    out << endFrame << " press ESCAPE\n";
    return static_cast<bool>(out);
}

// The keys of frames 1 to frames of a driver script (held arrows and presses
// of Up; other keys are ignored). Empty with a message when it cannot be read.
std::vector<TFrameKeys> ReadPrefix(const std::string& path, int frames, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return {};
    }
    morvel_script::TScriptResult script = morvel_script::ParseKeyScript(in, path);
    if (!script.error.empty()) {
        error = script.error;
        return {};
    }
    std::stable_sort(script.events.begin(), script.events.end(),
                     [](const auto& a, const auto& b) { return a.frame < b.frame; });
    std::vector<TFrameKeys> plan(static_cast<std::size_t>(std::max(frames, 0)));
    TFrameKeys held;
    std::size_t next = 0;
    for (int frame = 1; frame <= frames; ++frame) {
        TFrameKeys keys = held;
        for (; next < script.events.size() && script.events[next].frame <= frame; ++next) {
            const auto& event = script.events[next];
            if (event.frame < frame) {
                continue;
            }
            if (event.key == present::key::Left) {
                keys.left = event.down;
            } else if (event.key == present::key::Right) {
                keys.right = event.down;
            } else if (event.key == present::key::Up && event.down) {
                keys.up = true;
            }
        }
        plan[frame - 1] = keys;
        held = keys;
        held.up = false;
    }
    return plan;
}

bool ParseOptions(int argc, char** argv, TOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc) {
            return false;
        }
        const std::string value = argv[++i];
        if (name == "--clock-start") {
            options.clockStart = static_cast<std::uint32_t>(std::stoul(value));
        } else if (name == "--beam") {
            options.beam = std::stoi(value);
        } else if (name == "--chunk") {
            options.chunk = std::stoi(value);
        } else if (name == "--max-frames") {
            options.maxFrames = std::stoi(value);
        } else if (name == "--prefix") {
            options.prefix = value;
        } else if (name == "--prefix-frames") {
            options.prefixFrames = std::stoi(value);
        } else if (name == "--output") {
            options.output = value;
        } else {
            return false;
        }
    }
    return options.beam > 0 && options.chunk > 0;
}

// The search's fixed parts: the simulation, the route it is scored along, the
// options and the frames played before the first chunk.
struct TSearch {
    TCourseSim& sim;
    const TRoute& route;
    const TOptions& options;
    std::vector<TFrameKeys> prefix;
};

int Usage() {
    std::cerr << "usage: find-finish [--clock-start MS] [--beam N] [--chunk FRAMES]"
                 " [--max-frames N] [--output FILE]\n"
                 "                   [--prefix SCRIPT --prefix-frames N]\n";
    return 2;
}

// The frames before the search: the prefix script's when one is given, else one
// frame without keys (the first game frame takes none). False with a message.
bool ReadStart(const TOptions& options, std::vector<TFrameKeys>& prefix) {
    prefix = {TFrameKeys{}};
    if (options.prefix.empty()) {
        return true;
    }
    std::string error;
    prefix = ReadPrefix(options.prefix, options.prefixFrames, error);
    if (!error.empty() || prefix.empty()) {
        std::cerr << "find-finish: " << (error.empty() ? "no prefix frames" : error) << "\n";
        return false;
    }
    return true;
}

// Writes the finishing script, with a second of frames after it; status 0.
int WriteFinish(const TSearch& search, const NodeRef& finisher) {
    const auto plan = Plan(search.prefix, History(finisher), search.options.chunk);
    const int endFrame = static_cast<int>(plan.size()) + 60;
    if (!WriteScript(search.options.output, plan, endFrame)) {
        std::cerr << "find-finish: cannot write " << search.options.output << "\n";
        return 1;
    }
    std::printf("finished by frame %d; script %s (run it for %d frames)\n", search.sim.Frame() - 1,
                search.options.output.c_str(), endFrame + 1);
    return 0;
}

// Writes the furthest branch's script when no branch finished; status 1.
int WritePartial(const TSearch& search, const NodeRef& furthest, const char* why) {
    const auto plan = Plan(search.prefix, History(furthest), search.options.chunk);
    const int endFrame = static_cast<int>(plan.size()) + 1;
    WriteScript(search.options.output, plan, endFrame);
    std::printf("%s; the furthest branch (%.0f, %.0f at frame %d) is in %s\n", why,
                furthest->snapshot.blobX, furthest->snapshot.blobY, endFrame,
                search.options.output.c_str());
    return 1;
}

// Plays every action for one chunk from every state of the beam. The children
// that stay near the route come back; one that reaches the finish is put in
// finisher instead, and the search stops there.
std::vector<std::shared_ptr<TNode>> Expand(const TSearch& search, const std::vector<NodeRef>& beam,
                                           NodeRef& finisher) {
    std::vector<std::shared_ptr<TNode>> next;
    for (const NodeRef& node : beam) {
        for (const TAction& action : kActions) {
            search.sim.Load(node->snapshot);
            bool finished = false;
            for (int f = 0; f < search.options.chunk; ++f) {
                search.sim.Step({action.arrow == 'L', action.arrow == 'R', action.up && f == 0});
                finished = finished || search.sim.Finished();
            }
            auto child = std::make_shared<TNode>();
            child->parent = node;
            child->action = action;
            if (finished) {
                finisher = child;
                return next;
            }
            const TProgress p = search.route.Locate(search.sim.X(), search.sim.Y(), node->segment);
            if (p.off > search.options.offLimit) {
                continue;
            }
            child->segment = p.segment;
            child->score = p.along - 2.0f * p.off;
            child->snapshot = search.sim.Save();
            next.push_back(child);
        }
    }
    return next;
}

// The next beam from the children, best first. One state per 3-pixel cell and
// speed class keeps the beam varied. Half the beam goes to the best states; the
// other half keeps the best state of each stretch of route behind them, so that
// when every leader is doomed (in the air over a gap) others can still try a
// later jump.
std::vector<NodeRef> Select(std::vector<std::shared_ptr<TNode>> next, int size) {
    std::sort(next.begin(), next.end(),
              [](const auto& a, const auto& b) { return a->score > b->score; });
    std::set<std::tuple<int, int, int, int>> taken;
    std::set<int> stretches;
    std::vector<NodeRef> beam;
    const auto cell = [](const TSnapshot& s) {
        return std::make_tuple(static_cast<int>(s.blobX / 3), static_cast<int>(s.blobY / 3),
                               static_cast<int>(std::floor(s.blobVX * 2)),
                               static_cast<int>(std::floor(s.blobVY * 2)));
    };
    for (const auto& node : next) {
        if (static_cast<int>(beam.size()) >= size / 2) {
            break;
        }
        if (taken.insert(cell(node->snapshot)).second) {
            beam.push_back(node);
        }
    }
    for (const auto& node : next) {
        if (static_cast<int>(beam.size()) >= size) {
            break;
        }
        const int stretch = static_cast<int>(std::floor(node->score / kStretch));
        if (taken.count(cell(node->snapshot)) == 0 && stretches.insert(stretch).second) {
            taken.insert(cell(node->snapshot));
            beam.push_back(node);
        }
    }
    return beam;
}

// A line of progress when the lead has gained 50 pixels of route, and every
// 300 frames.
void ReportProgress(const TSearch& search, const std::vector<NodeRef>& beam, float& bestAlong) {
    const TNode& lead = *beam.front();
    const TSnapshot& state = lead.snapshot;
    if (lead.score > bestAlong + 50 || state.frame % 300 < search.options.chunk) {
        bestAlong = std::max(bestAlong, lead.score);
        std::printf("frame %d: lead at (%.0f, %.0f) score %.0f of %.0f, beam %zu\n", state.frame,
                    state.blobX, state.blobY, lead.score, search.route.Length(), beam.size());
        std::fflush(stdout);
    }
}

// The beam search from the simulation's current state.
int Search(const TSearch& search) {
    auto root = std::make_shared<TNode>();
    root->snapshot = search.sim.Save();
    const TProgress start = search.route.Locate(search.sim.X(), search.sim.Y(), -1);
    root->segment = start.segment;
    root->score = start.along;
    std::vector<NodeRef> beam{root};
    float bestAlong = 0;
    NodeRef furthest = root;
    while (search.sim.Frame() < search.options.maxFrames) {
        NodeRef finisher;
        std::vector<std::shared_ptr<TNode>> next = Expand(search, beam, finisher);
        if (finisher) {
            return WriteFinish(search, finisher);
        }
        if (next.empty()) {
            return WritePartial(search, furthest, "every branch left the route");
        }
        beam = Select(std::move(next), search.options.beam);
        if (beam.front()->score > furthest->score) {
            furthest = beam.front();
        }
        ReportProgress(search, beam, bestAlong);
        search.sim.Load(beam.front()->snapshot);
    }
    return WritePartial(search, furthest, "no finish within the frame limit");
}

} // namespace

int main(int argc, char** argv) {
    TOptions options;
    try {
        if (!ParseOptions(argc, argv, options)) {
            return Usage();
        }
    } catch (const std::exception&) {
        std::cerr << "find-finish: bad number\n";
        return 2;
    }
    TCourseSim sim(options.clockStart);
    if (!sim.Started()) {
        return 1;
    }
    const TRoute route = CourseRoute();
    TSearch search{sim, route, options, {}};
    if (!ReadStart(options, search.prefix)) {
        return 2;
    }
    for (const TFrameKeys& keys : search.prefix) {
        sim.Step(keys);
    }
    return Search(search);
}
