#include <stdio.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
main() {
	char dummy[100];
	int nn1;
	int nn2;
	char cc3[256];
	int nn4;
	char cc5[256];
	FILE *fp1;
	FILE *fp2;
	int rep1;
	printf("%s\n", "計算します");
	scanf("%d", &nn1);
	nn2=nn1*2;
	printf("%s[%d]\n", "二倍", nn2);
	strcpy(cc3,"abc");
	for(rep1 = 1 ; rep1 <= 3 ; rep1++) {
		printf("%s[%s]\n", "くり", cc3);
	}
	fp1 = fopen("out.txt","w");
	fprintf(fp1, "%d\n", nn2);
	fclose(fp1);
	if((fp2 = fopen("in.txt","r")) == NULL){
		printf("ファイル%sがないよ．", "in.txt");
		goto ERROR_END;
	}
	if( fgets(dummy, 80, fp2) == NULL) {
		printf("データ読みすぎ．");
		goto ERROR_END;
	}
	nn4 = atoi(dummy);
	while( fgets(dummy, 80, fp2) != NULL) {
	    delkai(dummy);strcpy(cc5, dummy);
		printf("%s[%s]\n", "行", cc5);
	}
	fclose(fp2);
/* end procedure */
	ERROR_END:;
	printf("--->何か文字を入れれば終わるよ");
	scanf("%s", &dummy);
	return 0;
}
