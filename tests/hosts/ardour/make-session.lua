-- Run by ardour7-lua (see scripts/ci-ardour.sh): builds a session with one stereo track that
-- carries Kolvrane, sets parameters and saves. The region is placed into the saved file
-- afterwards, since this Lua API has no headless import.
--
-- Environment: KOLVRANE_SESSION_DIR, KOLVRANE_SESSION_NAME, KOLVRANE_RATE and
-- KOLVRANE_PARAMS ("INDEX=VALUE,INDEX=VALUE", normalized VST values).

-- error() ends the script and makes ardour7-lua exit with status 1.
local function fail(message)
	error("FAIL: " .. message, 0)
end

local function need_env(name)
	local value = os.getenv(name)
	if not value or value == "" then fail(name .. " is not set") end
	return value
end

local dir = need_env("KOLVRANE_SESSION_DIR")
local name = need_env("KOLVRANE_SESSION_NAME")
local rate = math.tointeger(tonumber(need_env("KOLVRANE_RATE")))
local assignments = {}
for index, value in need_env("KOLVRANE_PARAMS"):gmatch("(%d+)=([%d%.]+)") do
	assignments[#assignments + 1] = { index = math.tointeger(tonumber(index)), value = tonumber(value) }
end
if #assignments == 0 then fail("KOLVRANE_PARAMS has no INDEX=VALUE pairs") end

if not AudioEngine:set_backend("None (Dummy)", "", "") then fail("no dummy backend") end
local session = create_session(dir, name, rate)
if not session then fail("create_session " .. dir .. " " .. name) end

local tracks = session:new_audio_track(2, 2, nil, 1, "Input", ARDOUR.PresentationInfo.max_order,
	ARDOUR.TrackMode.Normal, true)
if tracks:size() ~= 1 then fail("new_audio_track") end
local track = tracks:front()

local plugin = ARDOUR.LuaAPI.new_plugin(session, "Kolvrane", ARDOUR.PluginType.LXVST, "")
if plugin:isnil() then fail("Ardour cannot instantiate Kolvrane (was the scanner cache filled?)") end
if track:add_processor_by_index(plugin, 0, nil, true) ~= 0 then fail("add_processor_by_index") end

local insert = plugin:to_insert()
print(string.format("PLUGIN name=%s inputs=%d outputs=%d params=%d", plugin:name(),
	insert:input_streams():n_audio(), insert:output_streams():n_audio(), insert:plugin(0):parameter_count()))

for _, a in ipairs(assignments) do
	if not ARDOUR.LuaAPI.set_processor_param(plugin, a.index, a.value) then
		fail("set_processor_param " .. a.index)
	end
end
for _, a in ipairs(assignments) do
	local value = ARDOUR.LuaAPI.get_processor_param(plugin, a.index)
	print(string.format("PARAM %d %.9g", a.index, value))
end

if session:save_state("", false, false, false, false, false) ~= 0 then fail("save_state") end
close_session()
print("OK session saved")
quit()
