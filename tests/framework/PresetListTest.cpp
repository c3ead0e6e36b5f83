#include "framework/PresetList.h"

#include <gtest/gtest.h>

#include <random>

namespace
{
void makeGroups (PresetList& list, std::initializer_list<int> counts)
{
    list.clearGroups();
    int g = 0;

    for (int count : counts)
        list.appendGroup ("G" + juce::String (g++), count);
}

void nameSlotsByPosition (PresetList& list)
{
    for (int i = 0; i < list.getNumPresets(); ++i)
        list.setPresetName (i, "S" + juce::String (i));
}

juce::StringArray slotNames (const PresetList& list)
{
    juce::StringArray names;

    for (int i = 0; i < list.getNumPresets(); ++i)
        names.add (list.getPresetName (i));

    return names;
}
} // namespace

TEST (PresetList, ClearNamesEverySlotAndMakesOneGroup)
{
    PresetList list (128, 24);
    EXPECT_EQ (list.getNumPresets(), 128);
    EXPECT_EQ (list.getNumGroups(), 0);
    EXPECT_EQ (list.getPresetName (0), "Preset");
    EXPECT_EQ (list.getSlot (5)->getIndex(), 5);

    PresetSlot defaults ("Preset", 24, -1);
    defaults.setValue (3, 0.5f);
    defaults.setValue (9, 1.0f);
    list.clear (defaults);

    ASSERT_EQ (list.getNumGroups(), 1);
    EXPECT_EQ (list.getGroupName (0), "Not used");
    EXPECT_EQ (list.getGroupSize (0), 128);
    EXPECT_EQ (list.getPresetName (5), "Preset 5");
    EXPECT_EQ (list.getPresetName (127), "Preset 127");
    EXPECT_EQ (list.getSlot (77)->getValue (3), 0.5f);
    EXPECT_EQ (list.getSlot (77)->getValue (9), 1.0f);
    EXPECT_TRUE (list.groupsPartitionSlots());
}

TEST (PresetList, GroupQueriesAndBadIndexes)
{
    PresetList list (128, 24);
    nameSlotsByPosition (list);
    makeGroups (list, {5, 0, 5, 118});

    EXPECT_EQ (list.getFirstPresetOfGroup (0), 0);
    EXPECT_EQ (list.getLastPresetOfGroup (0), 4);
    EXPECT_EQ (list.getFirstPresetOfGroup (1), 5);
    EXPECT_EQ (list.getLastPresetOfGroup (1), 4); // an empty group
    EXPECT_EQ (list.getFirstPresetOfGroup (2), 5);
    EXPECT_EQ (list.getLastPresetOfGroup (3), 127);
    EXPECT_EQ (list.getFirstPresetOfGroup (4), -1);
    EXPECT_EQ (list.getFirstPresetOfGroup (-1), -1);
    EXPECT_EQ (list.getLastPresetOfGroup (-1), -1);

    EXPECT_EQ (list.getGroupOfPreset (4), 0);
    EXPECT_EQ (list.getGroupOfPreset (5), 2);
    EXPECT_EQ (list.getGroupOfPreset (127), 3);
    EXPECT_EQ (list.getGroupOfPreset (128), -1);
    EXPECT_EQ (list.getGroupOfPreset (-1), -1);

    EXPECT_EQ (list.getPresetIndex (2, 4), 9);
    EXPECT_EQ (list.getPresetIndex (2, 5), -1);
    EXPECT_EQ (list.getPresetIndex (1, 0), -1);
    EXPECT_EQ (list.getPresetIndex (2, -1), -1);
    EXPECT_EQ (list.getPresetIndex (9, 0), -1);

    EXPECT_EQ (list.getGroupName (9), "");
    EXPECT_EQ (list.getGroupSize (9), 0);
    list.setGroupName (9, "nothing");
    list.setGroupName (1, "Empty");
    EXPECT_EQ (list.getGroupName (1), "Empty");

    EXPECT_EQ (list.getPresetName (128), "");
    EXPECT_EQ (list.getPresetName (-1), "");
    EXPECT_FALSE (list.setPresetName (-1, "x"));
    EXPECT_EQ (list.getSlot (128), nullptr);
    EXPECT_EQ (list.getSlot (-1), nullptr);

    // Groups are inserted before an existing one only; only empty ones go.
    EXPECT_FALSE (list.insertGroup (4));
    EXPECT_FALSE (list.insertGroup (-1));
    EXPECT_TRUE (list.insertGroup (0));
    EXPECT_EQ (list.getGroupName (0), "New Group");
    EXPECT_EQ (list.getGroupSize (0), 0);
    EXPECT_EQ (list.getNumGroups(), 5);
    EXPECT_FALSE (list.removeGroup (1)); // holds 5 presets
    EXPECT_FALSE (list.removeGroup (5));
    EXPECT_FALSE (list.removeGroup (-1));
    EXPECT_TRUE (list.removeGroup (2));
    EXPECT_EQ (list.getGroupName (1), "G0");
    EXPECT_EQ (list.getGroupName (2), "G2");
    EXPECT_TRUE (list.groupsPartitionSlots());
}

TEST (PresetList, MovesFollowTheBrowsersDropPositions)
{
    PresetList list (128, 24);
    nameSlotsByPosition (list);
    makeGroups (list, {3, 3, 122});

    // Within a group: S0 after S2.
    EXPECT_TRUE (list.movePreset (0, 2, 0, 0));
    EXPECT_EQ (slotNames (list).joinIntoString (",", 0, 3), "S1,S2,S0");

    // Appended after the last row of a later group.
    EXPECT_TRUE (list.movePreset (1, 5, 0, 1));
    EXPECT_EQ (slotNames (list).joinIntoString (",", 0, 6), "S1,S0,S3,S4,S5,S2");
    EXPECT_EQ (list.getGroupSize (0), 2);
    EXPECT_EQ (list.getGroupSize (1), 4);

    // Before the first row of an earlier group.
    EXPECT_TRUE (list.movePreset (3, 0, 1, 0));
    EXPECT_EQ (slotNames (list).joinIntoString (",", 0, 6), "S4,S1,S0,S3,S5,S2");
    EXPECT_EQ (list.getGroupSize (0), 3);
    EXPECT_EQ (list.getGroupSize (1), 3);

    // Positions that do not belong to the named groups are refused.
    const auto before = slotNames (list);
    EXPECT_FALSE (list.movePreset (4, 0, 0, 0));  // 4 is not in group 0
    EXPECT_FALSE (list.movePreset (0, 10, 0, 1)); // 10 is beyond group 1
    EXPECT_FALSE (list.movePreset (0, 0, 0, 0));
    EXPECT_FALSE (list.movePreset (-1, 2, 0, 0));
    EXPECT_FALSE (list.movePreset (0, 128, 0, 2));
    EXPECT_FALSE (list.movePreset (0, 2, 0, 3));
    EXPECT_EQ (slotNames (list), before);
    EXPECT_TRUE (list.groupsPartitionSlots());

    // A multiple selection keeps its order at the end of the target group.
    juce::SparseSet<int> selection;
    selection.addRange ({0, 1});
    selection.addRange ({2, 3});
    EXPECT_TRUE (list.movePresetsToGroup (1, 0, selection)); // S4 and S0 to group 1
    EXPECT_EQ (slotNames (list).joinIntoString (",", 0, 6), "S1,S3,S5,S2,S4,S0");
    EXPECT_EQ (list.getGroupSize (0), 1);
    EXPECT_EQ (list.getGroupSize (1), 5);

    selection.clear();
    selection.addRange ({1, 3});
    EXPECT_TRUE (list.movePresetsToGroup (0, 1, selection)); // S5 and S2 back
    EXPECT_EQ (slotNames (list).joinIntoString (",", 0, 6), "S1,S5,S2,S3,S4,S0");
    EXPECT_EQ (list.getGroupSize (0), 3);
    EXPECT_EQ (list.getGroupSize (1), 3);

    EXPECT_FALSE (list.movePresetsToGroup (0, 1, {}));
    selection.clear();
    selection.addRange ({2, 4}); // position 3 is not in group 1
    EXPECT_FALSE (list.movePresetsToGroup (0, 1, selection));
    selection.clear();
    selection.addRange ({-1, 1});
    EXPECT_FALSE (list.movePresetsToGroup (0, 1, selection));
    EXPECT_FALSE (list.movePresetsToGroup (1, 1, selection));

    // A group moved down lands after the target, moved up before it.
    EXPECT_TRUE (list.moveGroup (0, 1));
    EXPECT_EQ (list.getGroupName (0), "G1");
    EXPECT_EQ (slotNames (list).joinIntoString (",", 0, 6), "S3,S4,S0,S1,S5,S2");
    EXPECT_TRUE (list.moveGroup (2, 0));
    EXPECT_EQ (list.getGroupName (0), "G2");
    EXPECT_EQ (list.getPresetName (0), "S6");
    EXPECT_EQ (list.getPresetName (122), "S3");
    EXPECT_FALSE (list.moveGroup (1, 1));
    EXPECT_FALSE (list.moveGroup (3, 0));
    EXPECT_TRUE (list.groupsPartitionSlots());
}

// Random sequences of moves, good and bad, checked against a model in which
// each group is an ordered list of slot objects.
TEST (PresetList, RandomMovesKeepThePartitionAndEverySlot)
{
    using Model = std::vector<std::pair<juce::String, std::vector<PresetSlot*>>>;

    for (unsigned seed = 1; seed <= 40; ++seed)
    {
        std::mt19937 rng (seed);
        auto pick = [&rng] (int lo, int hi)
        { return std::uniform_int_distribution<int> (lo, hi) (rng); };

        PresetList list (128, 24);
        nameSlotsByPosition (list);
        makeGroups (list, {17, 111});
        int nextGroupName = 2;

        Model model;
        for (int g = 0, first = 0; g < list.getNumGroups(); first += list.getGroupSize (g++))
        {
            model.push_back ({list.getGroupName (g), {}});
            for (int i = 0; i < list.getGroupSize (g); ++i)
                model.back().second.push_back (list.getSlot (first + i));
        }

        auto firstOf = [&model] (int g)
        {
            int first = 0;
            for (int i = 0; i < g; ++i)
                first += (int) model[(size_t) i].second.size();
            return first;
        };

        PresetSlot* current = list.getSlot (pick (0, 127));
        int validMoves = 0;

        for (int step = 0; step < 400; ++step)
        {
            const int numGroups = (int) model.size();
            const int dice = pick (0, 19);
            const int op = dice < 8 ? 1 : dice < 13 ? 2
                                      : dice < 16   ? 3
                                      : dice < 18   ? 4
                                                    : 5;

            // A group in range most of the time; a source with presets when asked.
            auto pickGroup = [&] (bool withPresets)
            {
                if (pick (0, 9) == 0)
                    return pick (-1, numGroups);
                for (int tries = 0; tries < 8; ++tries)
                {
                    const int g = pick (0, numGroups - 1);
                    if (!withPresets || !model[(size_t) g].second.empty())
                        return g;
                }
                return pick (0, numGroups - 1);
            };

            if (op == 1)
            {
                const int fromGroup = pickGroup (true);
                const int toGroup = pickGroup (false);
                // Mostly near the groups' own positions, so that most moves are
                // valid, with the edges and strays that must be refused.
                auto near = [&] (int g)
                {
                    if (g < 0 || g >= numGroups || pick (0, 3) == 0)
                        return pick (-1, 128);
                    return firstOf (g) + pick (-1, (int) model[(size_t) g].second.size());
                };
                const int from = near (fromGroup);
                const int to = near (toGroup);
                bool valid = fromGroup >= 0 && fromGroup < numGroups && toGroup >= 0 && toGroup < numGroups && from >= 0 && from < 128 && to >= 0 && to < 128 && from != to;

                if (valid)
                {
                    auto& source = model[(size_t) fromGroup].second;
                    const int position = from - firstOf (fromGroup);
                    valid = position >= 0 && position < (int) source.size();

                    if (valid)
                    {
                        auto* slot = source[(size_t) position];
                        source.erase (source.begin() + position);
                        auto& target = model[(size_t) toGroup].second;
                        const int at = to - firstOf (toGroup);
                        valid = at >= 0 && at <= (int) target.size();

                        if (valid)
                            target.insert (target.begin() + at, slot);
                        else
                            source.insert (source.begin() + position, slot);
                    }
                }

                ASSERT_EQ (list.movePreset (from, to, fromGroup, toGroup), valid) << seed << "/" << step;
                validMoves += valid ? 1 : 0;
            }
            else if (op == 2)
            {
                const int fromGroup = pickGroup (true);
                const int toGroup = pickGroup (false);
                juce::SparseSet<int> selection;
                const int limit = fromGroup >= 0 && fromGroup < numGroups ? (int) model[(size_t) fromGroup].second.size() : 3;

                for (int r = pick (0, 3); --r >= 0;)
                {
                    const int start = pick (-1, limit);
                    selection.addRange ({start, start + pick (1, 4)});
                }

                const bool valid = fromGroup >= 0 && fromGroup < numGroups && toGroup >= 0 && toGroup < numGroups && fromGroup != toGroup && !selection.isEmpty() && selection[0] >= 0 && selection[selection.size() - 1] < limit;

                if (valid)
                {
                    auto& source = model[(size_t) fromGroup].second;
                    std::vector<PresetSlot*> moved, kept;

                    for (int i = 0; i < (int) source.size(); ++i)
                        (selection.contains (i) ? moved : kept).push_back (source[(size_t) i]);

                    source = kept;
                    auto& target = model[(size_t) toGroup].second;
                    target.insert (target.end(), moved.begin(), moved.end());
                }

                ASSERT_EQ (list.movePresetsToGroup (toGroup, fromGroup, selection), valid) << seed << "/" << step;
                validMoves += valid ? 1 : 0;
            }
            else if (op == 3)
            {
                const int from = pick (-1, numGroups);
                const int to = pick (-1, numGroups);
                const bool valid = from >= 0 && from < numGroups && to >= 0 && to < numGroups && from != to;

                if (valid)
                {
                    auto entry = model[(size_t) from];
                    model.erase (model.begin() + from);
                    model.insert (model.begin() + to, entry);
                }

                ASSERT_EQ (list.moveGroup (from, to), valid) << seed << "/" << step;
            }
            else if (op == 4)
            {
                const int g = pick (-1, numGroups);
                const bool valid = g >= 0 && g < numGroups;

                if (valid)
                    model.insert (model.begin() + g, {"G" + juce::String (nextGroupName), {}});

                ASSERT_EQ (list.insertGroup (g), valid);

                if (valid)
                    list.setGroupName (g, "G" + juce::String (nextGroupName++));
            }
            else
            {
                const int g = pick (-1, numGroups);
                const bool valid = g >= 0 && g < numGroups && model[(size_t) g].second.empty();

                if (valid)
                    model.erase (model.begin() + g);

                ASSERT_EQ (list.removeGroup (g), valid);
            }

            ASSERT_TRUE (list.groupsPartitionSlots()) << seed << "/" << step;
            ASSERT_EQ (list.getNumGroups(), (int) model.size());

            for (int g = 0, position = 0; g < (int) model.size(); ++g)
            {
                ASSERT_EQ (list.getGroupName (g), model[(size_t) g].first);
                ASSERT_EQ (list.getGroupSize (g), (int) model[(size_t) g].second.size());

                for (auto* slot : model[(size_t) g].second)
                {
                    ASSERT_EQ (list.getSlot (position), slot) << seed << "/" << step;
                    ASSERT_EQ (list.getGroupOfPreset (position++), g);
                }
            }

            ASSERT_NE (list.indexOf (current), -1);
        }

        EXPECT_GT (validMoves, 40) << seed;
    }
}
