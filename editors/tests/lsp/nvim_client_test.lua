-- Runs in headless Neovim (see lsp_nvim_test.sh): loads the README's
-- configuration, opens a program with a trap, and asks the server through
-- Neovim's client for diagnostics, hover, completion and definition.
-- Environment: ZEM_SCRATCH, a folder with config-0.7.lua and config-0.8.lua.
local scratch = os.getenv('ZEM_SCRATCH')
local failures, passed = {}, 0

local function check(ok, what)
  if ok then
    passed = passed + 1
  else
    table.insert(failures, what)
  end
end

local function finish()
  if #failures > 0 then
    io.stdout:write('FAIL: ' .. table.concat(failures, '\nFAIL: ') .. '\n')
    vim.cmd('cquit 1')
  end
  io.stdout:write(string.format('ok: %d checks in Neovim %s\n', passed,
    tostring(vim.version().major) .. '.' .. tostring(vim.version().minor)))
  vim.cmd('qall!')
end

dofile(scratch .. (vim.lsp.start and '/config-0.8.lua' or '/config-0.7.lua'))

local program = scratch .. '/traps.zem'
local file = assert(io.open(program, 'wb'))
file:write(table.concat({
  'はじめ',
  '\t見る "x";',
  '\t数a=1;',
  '\t見る("答え",数a);',
  'おわり',
  '',
}, '\n'))
file:close()
vim.cmd('edit ' .. vim.fn.fnameescape(program))
check(vim.bo.filetype == 'zem', 'filetype zem')

-- Diagnostics: the one finding of zemuc check, a warning at 見る.
local got = vim.wait(20000, function() return #vim.diagnostic.get(0) > 0 end, 50)
check(got, 'diagnostics published')
local diagnostics = vim.diagnostic.get(0)
check(#diagnostics == 1, 'one diagnostic, got ' .. #diagnostics)
if diagnostics[1] then
  local d = diagnostics[1]
  check(d.lnum == 1 and d.col == 1, 'the diagnostic at line 2, byte 1: ' .. d.lnum .. ':' .. d.col)
  check(d.severity == vim.diagnostic.severity.WARN, 'a warning')
  check(d.message:find("'見る' joins the text after it", 1, true) ~= nil, 'its text: ' .. d.message)
end

local function ask(method, row, col)
  vim.api.nvim_win_set_cursor(0, { row, col })
  local params = vim.lsp.util.make_position_params()
  local answers = vim.lsp.buf_request_sync(0, method, params, 10000) or {}
  for _, answer in pairs(answers) do
    if answer.result then return answer.result end
  end
  return nil
end

-- 数a on line 4 starts at byte 17 and UTF-16 unit 9: a tab, 見る, (, "答え"
-- and a comma.
local line4 = vim.api.nvim_buf_get_lines(0, 3, 4, false)[1]
local column = line4:find('数a', 1, true) - 1
local hover = ask('textDocument/hover', 4, column)
local hover_text = hover and hover.contents and hover.contents.value or ''
check(hover_text:find('数a: number variable, nn1 in C, first named on line 3', 1, true) ~= nil,
  'hover names the variable: ' .. hover_text)
check(hover_text:find('printf("%s[%d]\\n", "答え", nn1);', 1, true) ~= nil,
  'hover shows the C text of the line: ' .. hover_text)
-- The positions Neovim sends are UTF-16: the character counts, not bytes.
check(vim.lsp.util.make_position_params().position.character == 9, 'UTF-16 position of 数a')

local definition = ask('textDocument/definition', 4, column)
if definition and definition[1] then definition = definition[1] end
check(definition and definition.range and definition.range.start.line == 2
  and definition.range.start.character == 1, 'definition on line 3 at 数a')

local completion = ask('textDocument/completion', 3, 1)
local labels = {}
for _, item in ipairs(completion and (completion.items or completion) or {}) do
  labels[item.label] = item
end
check(labels['見る'] ~= nil and labels['読みきり'] ~= nil, 'keywords completed')
check(labels['数a'] ~= nil and labels['数a'].detail == 'number variable (nn1)', 'the variable completed')

-- A change through the client: the mend the server offers, applied.
local actions = vim.lsp.buf_request_sync(0, 'textDocument/codeAction', {
  textDocument = vim.lsp.util.make_text_document_params(),
  range = { start = { line = 1, character = 0 }, ['end'] = { line = 1, character = 8 } },
  context = { diagnostics = {} },
}, 10000) or {}
local action
for _, answer in pairs(actions) do action = answer.result and answer.result[1] end
check(action ~= nil, 'a code action for the blank')
if action then
  vim.lsp.util.apply_workspace_edit(action.edit, 'utf-16')
  check(vim.api.nvim_buf_get_lines(0, 1, 2, false)[1] == '\t見る("x";', 'the line mended')
  local cleared = vim.wait(20000, function() return #vim.diagnostic.get(0) == 0 end, 50)
  check(cleared, 'the diagnostic gone after the change')
end

finish()
