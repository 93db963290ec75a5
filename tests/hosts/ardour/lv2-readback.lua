-- The LV2 plug-in's session as lv2-reopen.lua saved it: the controls read back.
dofile(os.getenv("QC_SCRIPTS") .. "/common.lua")
local settings = { ["Output"] = 3, ["Cutoff Freq."] = 250, ["Filter Slope"] = 2,
                   ["Stereo Spread"] = 50, ["Bass Amp"] = -3 }

use_dummy_dc()
local session = load_session(folder, "corvane")
check("reopens again", session ~= nil, folder)
if session == nil then return end
check_values("restores", session:route_by_name("Corvane"):nth_plugin(0), settings)
