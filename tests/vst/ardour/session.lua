-- Run by ardour7-lua. PULSARET_STEP "create": a session with a MIDI track playing the plug-in, notes from a Lua
-- processor, one export, then a parameter changed through the host and the session saved. "reopen": the saved
-- session loaded again and exported.
local dir = os.getenv ("PULSARET_SESSION_DIR")
local out = os.getenv ("PULSARET_OUT_DIR")
local plugin_name = os.getenv ("PULSARET_PLUGIN_NAME")
local param_index = tonumber (os.getenv ("PULSARET_PARAM_INDEX"))
local param_value = tonumber (os.getenv ("PULSARET_PARAM_VALUE"))
local step = os.getenv ("PULSARET_STEP")

local function find_plugin (track, name)
    local i = 0
    while true do
        local p = track:nth_plugin (i)
        if p:isnil () then return nil end
        if p:display_name () == name then return p end
        i = i + 1
    end
end

local function export (name)
    local rate = Session:nominal_sample_rate ()
    local e = Session:simple_export ()
    e:set_folder (out)
    e:set_name (name)
    e:set_range (0, 3 * rate)
    assert (e:run_export (), "export failed")
end

if step == "create" then
    assert (create_session (dir, "pulsaret", 48000), "no session")
    local pi = ARDOUR.LuaAPI.new_plugin_info (plugin_name, ARDOUR.PluginType.LXVST)
    assert (not pi:isnil (), "plug-in not found: " .. plugin_name)
    local tracks = Session:new_midi_track (ARDOUR.ChanCount (ARDOUR.DataType ("midi"), 1),
                                           ARDOUR.ChanCount (ARDOUR.DataType ("audio"), 2), true, pi, nil, nil, 1,
                                           "drums", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true, false)
    local track = tracks:front ()
    local notes = ARDOUR.LuaAPI.new_luaproc (Session, "Pulsaret Notes")
    assert (not notes:isnil (), "note generator not found")
    track:add_processor_by_index (notes, 0, nil, true)
    assert (find_plugin (track, plugin_name), "plug-in not on the track")
    export ("first")

    assert (ARDOUR.LuaAPI.set_processor_param (find_plugin (track, plugin_name), param_index, param_value), "parameter not set")
    Session:save_state ("", false, false, false, false, false)
    print ("saved")
    close_session ()
elseif step == "reopen" then
    assert (load_session (dir, "pulsaret"), "session did not load")
    local track = Session:route_by_name ("drums"):to_track ()
    local p = find_plugin (track, plugin_name)
    assert (p, "plug-in missing after reopening")
    print (string.format ("parameter %d after reopening: %.4f", param_index, ARDOUR.LuaAPI.get_processor_param (p, param_index)))
    export ("reopened")
    close_session ()
end
