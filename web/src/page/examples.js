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

// name → { source: Shift-JIS bytes, files: { name: bytes } }
export const EXAMPLES = {
  keisan: { source: keisan, files: { 'in.txt': keisanIn } },
  goukei: { source: goukei, files: {} },
  kuku: { source: kuku, files: {} },
  heikin: { source: heikin, files: { 'tensuu.txt': heikinTensuu } },
  gyou: { source: gyou, files: { 'moto.txt': gyouMoto } },
  nai: { source: nai, files: {} },
  yomisugi: { source: yomisugi, files: { 'meibo.txt': yomisugiMeibo } },
};
