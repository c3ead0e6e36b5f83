#!/usr/bin/env python3
"""Writes the C++ names of the parameter and event numbers from resources/parameters.xml
and resources/events.xml: one constant per entry, named after it ("Bass Drum Level" ->
ParameterId::bassDrumLevel), a first/count pair for each run that has one entry per track
in voice order ("Bass Drum Mute" ... "Closed Hi Hat Mute" -> ParameterId::firstMute and
ParameterId::muteCount), and the engine's sound parameters as an enum class.

Usage: generate_ids.py OUT.h PARAMETERS.xml EVENTS.xml"""
import re
import sys
import xml.etree.ElementTree as ElementTree

from generated_file import write_generated

# The tracks in voice order, as the names in the two files spell them.
TRACKS = ["Bass Drum", "Snare Drum", "Low Tom", "Hi Tom", "Cymbal", "Open Hi Hat", "Closed Hi Hat", "Accent"]

# The engine renders the parameters before this one; the rest belong to the drum machine.
FIRST_PARAMETER_AFTER_SOUND = "Bass Drum Mute"


def fail(message):
    sys.exit("generate_ids.py: " + message)


def camel(words):
    words = [w for w in re.split(r"[^A-Za-z0-9]+", words) if w]
    if not words:
        return ""
    return words[0][0].lower() + words[0][1:] + "".join(w[0].upper() + w[1:] for w in words[1:])


def read_entries(path, tag, number_attribute):
    try:
        root = ElementTree.parse(path).getroot()
    except (OSError, ElementTree.ParseError) as error:
        fail("%s: %s" % (path, error))
    entries, names, numbers = [], {}, {}
    for element in root.iter(tag):
        name, number = element.get("name"), element.get(number_attribute)
        if name is None or number is None or not re.fullmatch(r"[0-9]+", number):
            fail("%s: a <%s> without a name or a %s" % (path, tag, number_attribute))
        number, identifier = int(number), camel(name)
        if not re.fullmatch(r"[a-z][A-Za-z0-9]*", identifier):
            fail("%s: \"%s\" makes no name" % (path, name))
        if identifier in names:
            fail("%s: \"%s\" and \"%s\" have the same name %s" % (path, names[identifier], name, identifier))
        if number in numbers:
            fail("%s: \"%s\" and \"%s\" have the same %s %d" % (path, numbers[number], name, number_attribute, number))
        names[identifier] = name
        numbers[number] = name
        entries.append((identifier, number, name))
    if not entries:
        fail("%s: no <%s>" % (path, tag))
    return entries


def track_template(name):
    """("{} Mute", 0) for "Bass Drum Mute"; (None, -1) for a name of no track."""
    for track, track_name in sorted(enumerate(TRACKS), key=lambda t: -len(t[1])):
        match = re.fullmatch(r"(.*?)\b%s\b(.*)" % re.escape(track_name), name)
        if match:
            return match.group(1) + "{}" + match.group(2), track
    return None, -1


def find_runs(entries):
    """The runs of consecutive numbers whose names go through the tracks in order from the first."""
    runs, index = [], 0
    while index < len(entries):
        template, track = track_template(entries[index][2])
        length = 0
        if template is not None and track == 0:
            while index + length < len(entries):
                _, number, name = entries[index + length]
                if track_template(name) != (template, length) or number != entries[index][1] + length:
                    break
                length += 1
        if length >= 2:
            runs.append((camel(template.replace("{}", " ")), entries[index][1], length))
            index += length
        else:
            index += 1
    return runs


def write_scope(lines, scope, entries, runs, what):
    lines.append("namespace %s" % scope)
    lines.append("{")
    for identifier, number, name in entries:
        lines.append("    inline constexpr int %s = %d; // \"%s\"" % (identifier, number, name))
    lines.append("")
    lines.append("    // Runs with one %s per track in voice order." % what)
    seen = set()
    for key, first, count in runs:
        if key in seen:
            fail("two runs of %s are both named %s" % (scope, key))
        seen.add(key)
        upper = key[0].upper() + key[1:]
        lines.append("    inline constexpr int first%s = %d;" % (upper, first))
        lines.append("    inline constexpr int %sCount = %d;" % (key, count))
    lines.append("}")
    lines.append("")


def main():
    if len(sys.argv) != 4:
        fail("usage: generate_ids.py OUT.h PARAMETERS.xml EVENTS.xml")
    out_path, parameters_path, events_path = sys.argv[1:]
    parameters = sorted(read_entries(parameters_path, "param", "index"), key=lambda e: e[1])
    events = sorted(read_entries(events_path, "event", "uid"), key=lambda e: e[1])

    sound = []
    for entry in parameters:
        if entry[2] == FIRST_PARAMETER_AFTER_SOUND:
            break
        sound.append(entry)
    if len(sound) == len(parameters) or [e[1] for e in sound] != list(range(len(sound))):
        fail("%s: the sound parameters are not numbered 0 on up to \"%s\"" % (parameters_path, FIRST_PARAMETER_AFTER_SOUND))

    lines = ["// Generated at build time from resources/parameters.xml and resources/events.xml. Do not edit.",
             "#pragma once", ""]
    write_scope(lines, "ParameterId", parameters, find_runs(parameters), "parameter")
    write_scope(lines, "EventId", events, find_runs(events), "event")
    lines.append("/** The parameters the engine renders, numbered as their parameters. */")
    lines.append("enum class SoundParameter")
    lines.append("{")
    for identifier, number, _ in sound:
        lines.append("    %s = %d," % (identifier, number))
    lines.append("};")
    lines.append("")
    lines.append("namespace ParameterId")
    lines.append("{")
    lines.append("    inline constexpr int soundParameterCount = %d;" % len(sound))
    lines.append("")
    lines.append("    /** True for the numbers of the SoundParameter values. */")
    lines.append("    constexpr bool isSoundParameter (int id) noexcept { return id >= 0 && id < soundParameterCount; }")
    lines.append("}")
    text = "\n".join(lines) + "\n"

    write_generated(out_path, text)


if __name__ == "__main__":
    main()
