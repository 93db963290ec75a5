-- The LV2 plug-in's first session: added by its URI and saved, for the driver to give its saved
-- state a MIDI binding before lv2-reopen.lua opens it again.
dofile(os.getenv("QC_SCRIPTS") .. "/common.lua")

use_dummy_dc()
local session = assert(create_session(folder, "corvane", 48000), "no session")
local track = add_track(session)
local plugin = ARDOUR.LuaAPI.new_plugin(session, "https://quellin.example/plugins/corvane",
                                        ARDOUR.PluginType.LV2, "")
check("loads", not plugin:isnil(), "https://quellin.example/plugins/corvane")
if plugin:isnil() then return end
track:add_processor_by_index(plugin, 0, nil, true)
local presets = plugin:to_insert():plugin(0):get_info():get_presets(false):size()
check("lists the factory presets", presets == 6, presets)
session:save_state("", false, false, false, false, false)
