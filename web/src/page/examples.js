// The examples menu: the sources of examples/ (Shift-JIS, as they are kept)
// and the files they read, bundled as bytes and decoded when one is opened.
// The page's tests open every folder of examples/ from this menu, so a new
// example that is not listed here fails them.
import goukei from '../../../examples/goukei/goukei.zem' with { type: 'bytes' };
import gyou from '../../../examples/gyou/gyou.zem' with { type: 'bytes' };
import gyouMoto from '../../../examples/gyou/moto.txt' with { type: 'bytes' };
import heikin from '../../../examples/heikin/heikin.zem' with { type: 'bytes' };
import heikinTensuu from '../../../examples/heikin/tensuu.txt' with { type: 'bytes' };
import keisan from '../../../examples/keisan/keisan.zem' with { type: 'bytes' };
import keisanIn from '../../../examples/keisan/in.txt' with { type: 'bytes' };
import kuku from '../../../examples/kuku/kuku.zem' with { type: 'bytes' };
import nai from '../../../examples/nai/nai.zem' with { type: 'bytes' };
import yomisugi from '../../../examples/yomisugi/yomisugi.zem' with { type: 'bytes' };
import yomisugiMeibo from '../../../examples/yomisugi/meibo.txt' with { type: 'bytes' };

// name → { title: the menu's words in each language, fails: whether the
// example shows a failure on purpose (a file that is not there, one read
// past its end), source: Shift-JIS bytes, files: { name: bytes } }.
export const EXAMPLES = {
  keisan: { title: { ja: '数を二倍してファイルに書く', en: 'Double a number and write it to a file' },
    source: keisan, files: { 'in.txt': keisanIn } },
  goukei: { title: { ja: '入れた数の合計', en: 'Add up the numbers typed' }, source: goukei, files: {} },
  kuku: { title: { ja: '九九の表', en: 'Multiplication table' }, source: kuku, files: {} },
  heikin: { title: { ja: 'ファイルの点数の平均', en: 'Average of the scores in a file' },
    source: heikin, files: { 'tensuu.txt': heikinTensuu } },
  gyou: { title: { ja: 'ファイルを一行ずつ写す', en: 'Copy a file line by line' },
    source: gyou, files: { 'moto.txt': gyouMoto } },
  nai: { title: { ja: 'ないファイルを開く', en: 'Open a file that is not there' }, fails: true, source: nai, files: {} },
  yomisugi: { title: { ja: 'ファイルを読みすぎる', en: 'Read past the end of a file' }, fails: true,
    source: yomisugi, files: { 'meibo.txt': yomisugiMeibo } },
};

