// A match between two UCI engines under a game clock, every move and ending
// judged by a referee independent of both (chess.js). Run by scripts/match;
// prints each game and the totals, keeps the games as PGN, and exits with 1
// when the first engine made an illegal move or lost on time.
'use strict';

const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const readline = require('readline');
const { Chess } = require('chess.js');

const startupMs = 60000;       // wine's first start may be slow
const stopGraceMs = 2000;      // an engine past its clock may still answer
const openingPlies = 8;

function parseArguments(argv) {
  const options = {
    games: 40, tc: '10+0.1', elo: 1350, hash: 16, pgn: 'build/match/games.pgn',
    engine: 'build/native/apps/zarvi-engine', opponent: '/usr/games/stockfish',
    openings: 'data/openings.txt', 'engine-options': '', 'opponent-options': '',
  };
  for (let i = 0; i < argv.length; i += 2) {
    const key = argv[i].replace(/^--/, '');
    if (!(key in options) || i + 1 >= argv.length) throw new Error(`unknown or incomplete option ${argv[i]}`);
    options[key] = argv[i + 1];
  }
  const [base, increment] = String(options.tc).split('+');
  options.baseMs = Math.round(parseFloat(base) * 1000);
  options.incrementMs = Math.round(parseFloat(increment || '0') * 1000);
  options.games = parseInt(options.games, 10);
  if (!(options.baseMs > 0) || !(options.incrementMs >= 0) || !(options.games > 0))
    throw new Error('--tc needs SECONDS+INCREMENT and --games a positive number');
  options.engineOptions = parseUciOptions(options['engine-options']);
  options.opponentOptions = parseUciOptions(options['opponent-options']);
  return options;
}

// "Threads=2,Hash=16" as [name, value] pairs, in order.
function parseUciOptions(text) {
  return text.split(',').filter((item) => item.trim()).map((item) => {
    const at = item.indexOf('=');
    if (at <= 0) throw new Error(`an engine option needs NAME=VALUE, not '${item}'`);
    return [item.slice(0, at).trim(), item.slice(at + 1).trim()];
  });
}

// The pairs of base with those of changes put in place of the same name.
function withOptions(base, changes) {
  const merged = base.filter(([name]) => !changes.some(([n]) => n.toLowerCase() === name.toLowerCase()));
  return merged.concat(changes);
}

function optionValue(pairs, name) {
  const pair = pairs.find(([n]) => n.toLowerCase() === name.toLowerCase());
  return pair ? String(pair[1]) : undefined;
}

function optionsLabel(pairs) {
  return pairs.length ? ` (${pairs.map(([n, v]) => `${n}=${v}`).join(', ')})` : '';
}

// How many processors an engine keeps busy while it thinks.
function threadsOf(engine) {
  const threads = engine.offered.has('threads') ? optionValue(engine.setOptions, 'Threads') : undefined;
  return Math.max(1, parseInt(threads, 10) || 1);
}

// The score fraction p of n games as an Elo difference by the logistic
// model, Elo(p) = -400 log10(1/p - 1), with the 95 % interval from the
// spread of the per-game scores (1, 1/2 or 0, a trinomial): its variance
// s2 = (W (1-p)^2 + D (1/2-p)^2 + L p^2) / n gives p +- 1.96 sqrt(s2 / n),
// whose ends go through the same formula. 0 % and 100 % have no finite
// Elo: those ends print as -inf and +inf.
function eloEstimate(wins, draws, losses) {
  const n = wins + draws + losses;
  const p = (wins + draws / 2) / n;
  const variance = (wins * (1 - p) ** 2 + draws * (0.5 - p) ** 2 + losses * p ** 2) / n;
  const margin = 1.96 * Math.sqrt(variance / n);
  const elo = (x) => (x <= 0 ? -Infinity : x >= 1 ? Infinity : -400 * Math.log10(1 / x - 1));
  return { p, elo: elo(p), low: elo(Math.max(0, p - margin)), high: elo(Math.min(1, p + margin)) };
}

function eloText(x) {
  return Number.isFinite(x) ? `${x >= 0 ? '+' : ''}${x.toFixed(1)}` : x > 0 ? '+inf' : '-inf';
}

// One engine process: lines in, lines out, and waiting for a line.
class UciEngine {
  constructor(name, command, setOptions) {
    this.name = name;
    this.command = command;
    this.setOptions = setOptions;
  }

  start() {
    const [program, ...args] = this.command.split(/\s+/);
    this.process = spawn(program, args, { stdio: ['pipe', 'pipe', 'ignore'] });
    this.lines = [];
    this.waiter = null;
    this.exited = false;
    this.process.on('exit', () => { this.exited = true; this.wake(); });
    this.process.stdin.on('error', () => {});
    readline.createInterface({ input: this.process.stdout }).on('line', (line) => {
      this.lines.push(line.trim());
      this.wake();
    });
  }

  wake() {
    if (this.waiter) this.waiter();
  }

  send(line) {
    if (!this.exited) this.process.stdin.write(line + '\n');
  }

  // The first line (dropping those before it) for which test holds, or null
  // when the time runs out or the engine exits.
  waitFor(test, timeoutMs) {
    return new Promise((resolve) => {
      const timer = setTimeout(() => finish(null), timeoutMs);
      const finish = (line) => {
        clearTimeout(timer);
        this.waiter = null;
        resolve(line);
      };
      this.waiter = () => {
        while (this.lines.length > 0) {
          const line = this.lines.shift();
          if (test(line)) return finish(line);
        }
        if (this.exited) finish(null);
      };
      this.waiter();
    });
  }

  async ready(timeoutMs) {
    this.send('isready');
    if (!(await this.waitFor((l) => l === 'readyok', timeoutMs))) throw new Error(`${this.name} is not ready`);
  }

  async init() {
    this.start();
    this.send('uci');
    this.offered = new Set();
    const heard = (l) => {
      const option = /^option name (.+?) type /.exec(l);
      if (option) this.offered.add(option[1].toLowerCase());
      if (l.startsWith('id name ')) this.id = l.slice(8);
      return l === 'uciok';
    };
    if (!(await this.waitFor(heard, startupMs))) throw new Error(`${this.name} did not answer uci`);
    for (const [name, value] of this.setOptions) {
      if (!this.offered.has(name.toLowerCase())) console.log(`warning: ${this.name} (${this.command}) offers no option '${name}'`);
      this.send(`setoption name ${name} value ${value}`);
    }
    await this.ready(startupMs);
  }

  async restart() {
    this.process.kill('SIGKILL');
    await this.init();
  }

  quit() {
    this.send('quit');
    setTimeout(() => { if (!this.exited) this.process.kill('SIGKILL'); }, 2000).unref();
  }
}

// Openings: the first plies of the lines of an opening file, each sequence
// once, spread over the list. The moves are the last "|" field of a line,
// so both the book's list (weight | name | moves) and a match file (name |
// moves) serve.
function readOpenings(file, count) {
  const sequences = [];
  const seen = new Set();
  for (const text of fs.readFileSync(file, 'utf8').split('\n')) {
    if (!text.trim() || text.startsWith('#')) continue;
    const fields = text.split('|');
    if (fields.length < 2) continue;
    const san = fields[fields.length - 1].replace(/\d+\.(\.\.)?/g, ' ').split(/\s+/).filter(Boolean).slice(0, openingPlies);
    const board = new Chess();
    const moves = san.map((m) => {
      const move = board.move(m);
      return move.from + move.to + (move.promotion || '');
    });
    const key = moves.join(' ');
    if (!seen.has(key)) {
      seen.add(key);
      sequences.push(moves);
    }
  }
  const picked = [];
  for (let i = 0; i < count; ++i) picked.push(sequences[Math.floor((i * sequences.length) / count)]);
  return picked;
}

// The referee's verdict on the position after a move, or null to go on.
function adjudicate(board) {
  if (board.isCheckmate()) return { winner: board.turn() === 'w' ? 'b' : 'w', reason: 'checkmate' };
  if (board.isStalemate()) return { winner: null, reason: 'stalemate' };
  if (board.isInsufficientMaterial()) return { winner: null, reason: 'insufficient material' };
  if (board.isThreefoldRepetition()) return { winner: null, reason: 'threefold repetition' };
  if (board.isDrawByFiftyMoves()) return { winner: null, reason: 'fifty-move rule' };
  return null;
}

async function playGame(engines, colours, opening, options, stats) {
  const board = new Chess();
  const played = [];
  for (const move of opening) {
    const m = board.move({ from: move.slice(0, 2), to: move.slice(2, 4), promotion: move[4] });
    played.push(m.from + m.to + (m.promotion || ''));
  }
  const clock = { w: options.baseMs, b: options.baseMs };
  for (const e of engines) {
    e.send('ucinewgame');
    await e.ready(startupMs);
  }
  for (;;) {
    const verdict = adjudicate(board);
    if (verdict) return { ...verdict, board };
    const turn = board.turn();
    const engine = colours[turn];
    engine.send(`position startpos moves ${played.join(' ')}`);
    const start = process.hrtime.bigint();
    engine.send(`go wtime ${clock.w} btime ${clock.b} winc ${options.incrementMs} binc ${options.incrementMs}`);
    let depth = 0;
    const line = await engine.waitFor((l) => {
      const info = /^info depth (\d+)/.exec(l);
      if (info) depth = Number(info[1]);
      return l.startsWith('bestmove');
    }, clock[turn] + stopGraceMs);
    const elapsed = Number((process.hrtime.bigint() - start) / 1000000n);
    const s = stats[engine.name];
    s.longestMoveMs = Math.max(s.longestMoveMs, elapsed);
    s.moves += 1;
    s.totalMs += elapsed;
    if (depth > 0) {
      s.searchedMoves += 1;
      s.totalDepth += depth;
    }
    clock[turn] -= elapsed;
    if (!line || clock[turn] < 0) {
      s.timeLosses += 1;
      if (!line) {
        engine.send('stop');
        if (!(await engine.waitFor((l) => l.startsWith('bestmove'), stopGraceMs))) await engine.restart();
      }
      return { winner: turn === 'w' ? 'b' : 'w', reason: `${engine.name} lost on time`, board };
    }
    s.lowestClockMs = Math.min(s.lowestClockMs, clock[turn]);
    clock[turn] += options.incrementMs;
    const text = line.split(/\s+/)[1] || '';
    let move = null;
    try {
      if (/^[a-h][1-8][a-h][1-8][qrbn]?$/.test(text))
        move = board.move({ from: text.slice(0, 2), to: text.slice(2, 4), promotion: text[4] });
    } catch (error) {
      move = null;
    }
    if (!move) {
      s.illegalMoves += 1;
      return { winner: turn === 'w' ? 'b' : 'w', reason: `${engine.name} played the illegal move '${text}'`, board };
    }
    played.push(text);
  }
}

// The one-minute load average, and whether the machine had more to do than
// the match: one engine thinks at a time, so the match alone keeps about
// as many processors busy as the engine with the most threads has.
function loadAverage() {
  return os.loadavg()[0];
}
const quietLoadBefore = 0.5;
const quietLoadMargin = 0.5;

async function main() {
  const options = parseArguments(process.argv.slice(2));
  const ours = new UciEngine('Zarvi', options.engine, options.engineOptions);
  // Stockfish plays with its strength limited unless told otherwise; any
  // other engine (another build of Zarvi, say) with the options given.
  const stockfish = /stockfish/.test(options.opponent);
  const theirs = stockfish
    ? new UciEngine('Stockfish', options.opponent, withOptions([
      ['Threads', 1], ['Hash', options.hash], ['UCI_LimitStrength', 'true'], ['UCI_Elo', options.elo],
    ], options.opponentOptions))
    : new UciEngine('Opponent', options.opponent, options.opponentOptions);
  const loadBefore = loadAverage();
  let loadHighest = loadBefore;
  await ours.init();
  await theirs.init();
  // Names that tell the two apart in the output and the PGN, also when both
  // are builds of Zarvi.
  ours.name = `${ours.id || 'Zarvi'}${optionsLabel(options.engineOptions)}`;
  const strength = /^(UCI_Elo|UCI_LimitStrength)$/i;
  if (stockfish) {
    theirs.name = (/^true$/i.test(optionValue(theirs.setOptions, 'UCI_LimitStrength'))
      ? `Stockfish ${optionValue(theirs.setOptions, 'UCI_Elo')}` : 'Stockfish') +
      optionsLabel(options.opponentOptions.filter(([n]) => !strength.test(n)));
  } else {
    theirs.name = `${theirs.id || 'Opponent'}${optionsLabel(options.opponentOptions)}`;
  }
  if (theirs.name === ours.name) theirs.name += ' (opponent)';
  // One engine thinks at a time, each on as many processors as its threads.
  const expectedLoad = Math.max(threadsOf(ours), threadsOf(theirs));

  const stats = {};
  for (const e of [ours, theirs]) {
    stats[e.name] = {
      timeLosses: 0, illegalMoves: 0, longestMoveMs: 0, lowestClockMs: Infinity,
      moves: 0, totalMs: 0, searchedMoves: 0, totalDepth: 0,
    };
  }
  const score = { wins: 0, draws: 0, losses: 0 };
  const endings = {};
  const pgn = [];
  const openings = readOpenings(options.openings, Math.ceil(options.games / 2));
  console.log(`${ours.name} (${options.engine}) against ${theirs.name}, ${options.games} games at ${options.tc}, ` +
              `openings from ${options.openings}`);
  console.log(`load average before the match: ${loadBefore.toFixed(2)} on ${os.cpus().length} processors; ` +
              `the match itself keeps about ${expectedLoad} busy`);

  for (let game = 0; game < options.games; ++game) {
    const oursWhite = game % 2 === 0;
    const colours = oursWhite ? { w: ours, b: theirs } : { w: theirs, b: ours };
    const opening = openings[Math.floor(game / 2)];
    const result = await playGame([ours, theirs], colours, opening, options, stats);
    const oursColour = oursWhite ? 'w' : 'b';
    const outcome = result.winner === null ? 'draw' : result.winner === oursColour ? 'win' : 'loss';
    score[{ win: 'wins', draw: 'draws', loss: 'losses' }[outcome]] += 1;
    endings[result.reason] = (endings[result.reason] || 0) + 1;
    const resultText = result.winner === null ? '1/2-1/2' : result.winner === 'w' ? '1-0' : '0-1';
    console.log(`game ${game + 1}: ${colours.w.name} - ${colours.b.name} ${resultText} (${result.reason}, ` +
                `${result.board.history().length} plies), opening ${opening.join(' ')}`);
    result.board.header('Event', 'Zarvi match', 'Round', String(game + 1), 'White', colours.w.name,
                        'Black', colours.b.name, 'Result', resultText, 'TimeControl', options.tc,
                        'Termination', result.reason);
    pgn.push(result.board.pgn() + "\n");
    loadHighest = Math.max(loadHighest, loadAverage());
  }
  ours.quit();
  theirs.quit();

  fs.mkdirSync(path.dirname(options.pgn), { recursive: true });
  fs.writeFileSync(options.pgn, pgn.join('\n'));
  const points = score.wins + score.draws / 2;
  console.log(`\n${ours.name}: ${score.wins} wins, ${score.draws} draws, ${score.losses} losses ` +
              `(${points}/${options.games})`);
  const estimate = eloEstimate(score.wins, score.draws, score.losses);
  console.log(`score ${(100 * estimate.p).toFixed(1)} %, Elo difference ${eloText(estimate.elo)} ` +
              `(95 % interval ${eloText(estimate.low)} to ${eloText(estimate.high)})` +
              (Number.isFinite(estimate.elo) ? '' : ': no finite estimate from a score of 0 % or 100 %'));
  console.log('endings: ' + Object.entries(endings).map(([k, v]) => `${k} ${v}`).join(', '));
  for (const [name, s] of Object.entries(stats)) {
    console.log(`${name}: illegal moves ${s.illegalMoves}, time losses ${s.timeLosses}, ` +
                `longest move ${s.longestMoveMs} ms, lowest clock ${s.lowestClockMs} ms, ` +
                `mean time per move ${Math.round(s.totalMs / Math.max(1, s.moves))} ms`);
  }
  const ourStats = stats[ours.name];
  console.log(`${ours.name}: mean depth ${(ourStats.totalDepth / Math.max(1, ourStats.searchedMoves)).toFixed(1)} ` +
              `over ${ourStats.searchedMoves} searched moves`);
  const loadAfter = loadAverage();
  loadHighest = Math.max(loadHighest, loadAfter);
  console.log(`load average after the match: ${loadAfter.toFixed(2)} (highest after a game ${loadHighest.toFixed(2)})`);
  if (expectedLoad > os.cpus().length)
    console.log(`warning: the engines' ${expectedLoad} threads are more than the machine's processors`);
  if (loadBefore > quietLoadBefore || loadHighest > expectedLoad + quietLoadMargin)
    console.log('warning: the machine was busy with other work during the match; ' +
                'its engines searched less deeply than on a quiet machine, so the scores are not comparable');
  console.log(`games written to ${options.pgn}`);
  process.exit(ourStats.illegalMoves + ourStats.timeLosses > 0 ? 1 : 0);
}

main().catch((error) => {
  console.error(`match: ${error.message}`);
  process.exit(2);
});
